#include "SearchDialog.h"

#include "SearchProgressDialog.h"
#include "model/Project.h"
#include "model/Windows1252.h"
#include "search/TopicSearch.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace ts {

namespace {

constexpr int CheckIcon = 4;

} // namespace

TSearchForm::TSearchForm(const Project& project, TSearchPBForm& progress, const QList<QIcon>& imageList,
                         QWidget* parent)
    : QDialog(parent), project_(project), progress_(progress), imageList_(imageList)
{
    setObjectName(QStringLiteral("TSearchForm"));
    setWindowTitle(QStringLiteral("Search topic..."));
    // No close box: Cancel or a pick closes it. The help button shows the
    // dialog's help topic as a pop-up.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowContextHelpButtonHint);
    setModal(true);
    setProperty("helpContext", 190);

    auto* layout = new QVBoxLayout(this);

    auto* queryRow = new QHBoxLayout;
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    queryRow->addWidget(Edit1, 1);
    Button1 = new QPushButton(QStringLiteral("Search..."), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    queryRow->addWidget(Button1);
    layout->addLayout(queryRow);

    RadioGroup1 = new QGroupBox(QStringLiteral("Search by"), this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    auto* choices = new QHBoxLayout(RadioGroup1);
    for (const QString& caption :
         {QStringLiteral("Topic ID"), QStringLiteral("Topic Title"), QStringLiteral("Text in topic")}) {
        auto* b = new QRadioButton(caption, RadioGroup1);
        choices->addWidget(b);
        RadioButtons.append(b);
    }
    RadioButtons[0]->setChecked(true);
    layout->addWidget(RadioGroup1);

    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setColumnCount(3);
    ListView1->setHeaderLabels({QStringLiteral("Topic ID"), QStringLiteral("Topic Title"), QString()});
    ListView1->setColumnWidth(IdColumn, 160);
    ListView1->setColumnWidth(TitleColumn, 245);
    ListView1->setColumnHidden(IndexColumn, true);
    ListView1->setRootIsDecorated(false);
    ListView1->setItemsExpandable(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setSortingEnabled(false);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->header()->setSectionsMovable(false);
    ListView1->installEventFilter(this);
    ListView1->viewport()->installEventFilter(this);
    layout->addWidget(ListView1, 1);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    Button3 = new QPushButton(QStringLiteral("Cancel"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setAutoDefault(false);
    buttonRow->addWidget(Button3);
    layout->addLayout(buttonRow);

    connect(Button1, &QPushButton::clicked, this, &TSearchForm::Button1Click);
    connect(Button3, &QPushButton::clicked, this, &TSearchForm::Button3Click);

    resize(450, 380);
}

int TSearchForm::execute()
{
    SearchResultIndex = -1;
    Edit1->setFocus();
    Edit1->selectAll();
    exec();
    return SearchResultIndex;
}

int TSearchForm::searchMode() const
{
    for (int k = 0; k < RadioButtons.size(); ++k) {
        if (RadioButtons[k]->isChecked())
            return k;
    }
    return 0;
}

void TSearchForm::setSearchMode(int mode)
{
    if (mode >= 0 && mode < RadioButtons.size())
        RadioButtons[mode]->setChecked(true);
}

void TSearchForm::setControlsEnabled(bool enabled)
{
    for (QWidget* w : {static_cast<QWidget*>(Edit1), static_cast<QWidget*>(Button1),
                       static_cast<QWidget*>(Button3), static_cast<QWidget*>(ListView1)})
        w->setEnabled(enabled);
}

void TSearchForm::Button1Click()
{
    const QString query = Edit1->text();
    if (query.isEmpty())
        return;

    // However the search ends, the progress window goes and the dialog is
    // usable again, with the focus where it was.
    struct Searching {
        TSearchForm& form;
        QPointer<QWidget> focus;
        explicit Searching(TSearchForm& f) : form(f), focus(f.focusWidget())
        {
            form.progress_.setValue(0);
            form.progress_.showAndPaint();
            form.setControlsEnabled(false);
        }
        ~Searching()
        {
            form.progress_.hide();
            form.setControlsEnabled(true);
            if (focus)
                focus->setFocus();
        }
    } searching(*this);

    ListView1->clear();
    const std::vector<int> found = SearchTopics(project_, query, SearchMode(searchMode()),
                                                [this](int position) { progress_.setValue(position); });
    const QIcon check = imageList_.value(CheckIcon);
    QList<QTreeWidgetItem*> rows;
    rows.reserve(qsizetype(found.size()));
    for (int i : found) {
        const TTopicRecord& t = project_.Topic(i);
        auto* row = new QTreeWidgetItem;
        row->setText(IdColumn, t.TopicID.text());
        row->setText(TitleColumn, t.Title.text());
        row->setText(IndexColumn, QString::number(i));
        row->setIcon(IdColumn, check);
        rows.append(row);
    }
    ListView1->addTopLevelItems(rows);
}

int TSearchForm::topicOf(const QTreeWidgetItem* row) const
{
    bool ok = false;
    const int index = row->text(IndexColumn).toInt(&ok);
    const QByteArray id = cp1252::encode(row->text(IdColumn));
    if (ok && index >= 0 && index < project_.TopicCount() && project_.Topic(index).TopicID.bytes() == id)
        return index;
    return project_.FindTopic(id);
}

void TSearchForm::ListView1DblClick()
{
    if (ListView1->topLevelItemCount() == 0) {
        SearchResultIndex = -1;
        accept();
        return;
    }
    const QList<QTreeWidgetItem*> selected = ListView1->selectedItems();
    // Rows but none selected (a double-click below the last row): nothing
    // is picked and the dialog stays.
    if (selected.isEmpty())
        return;
    SearchResultIndex = topicOf(selected.first());
    accept();
}

void TSearchForm::Button3Click()
{
    SearchResultIndex = -1;
    QDialog::reject();
}

void TSearchForm::reject()
{
    Button3Click();
}

void TSearchForm::closeEvent(QCloseEvent* event)
{
    SearchResultIndex = -1;
    QDialog::closeEvent(event);
}

bool TSearchForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ListView1->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        // The view selects the row under the mouse on the press before.
        ListView1DblClick();
        return true;
    }
    if (watched == ListView1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !ListView1->selectedItems().isEmpty()) {
            ListView1DblClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace ts
