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

SearchDialog::SearchDialog(const Project& project, SearchProgressDialog& progress, const ListIcons& listIcons,
                         QWidget* parent)
    : QDialog(parent), project_(project), progress_(progress), listIcons_(listIcons)
{
    setObjectName(QStringLiteral("SearchDialog"));
    setWindowTitle(QStringLiteral("Search topic..."));
    // No close box: Cancel or a pick closes it. The help button shows the
    // dialog's help topic as a pop-up.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowContextHelpButtonHint);
    setModal(true);
    setProperty("helpContext", 190);

    auto* layout = new QVBoxLayout(this);

    auto* queryRow = new QHBoxLayout;
    queryEdit = new QLineEdit(this);
    queryEdit->setObjectName(QStringLiteral("queryEdit"));
    queryRow->addWidget(queryEdit, 1);
    searchButton = new QPushButton(QStringLiteral("Search..."), this);
    searchButton->setObjectName(QStringLiteral("searchButton"));
    searchButton->setDefault(true);
    queryRow->addWidget(searchButton);
    layout->addLayout(queryRow);

    searchByGroup = new QGroupBox(QStringLiteral("Search by"), this);
    searchByGroup->setObjectName(QStringLiteral("searchByGroup"));
    auto* choices = new QHBoxLayout(searchByGroup);
    for (const QString& caption :
         {QStringLiteral("Topic ID"), QStringLiteral("Topic Title"), QStringLiteral("Text in topic")}) {
        auto* b = new QRadioButton(caption, searchByGroup);
        choices->addWidget(b);
        searchByButtons.append(b);
    }
    searchByButtons[0]->setChecked(true);
    layout->addWidget(searchByGroup);

    resultList = new QTreeWidget(this);
    resultList->setObjectName(QStringLiteral("resultList"));
    resultList->setColumnCount(3);
    resultList->setHeaderLabels({QStringLiteral("Topic ID"), QStringLiteral("Topic Title"), QString()});
    resultList->setColumnWidth(IdColumn, 160);
    resultList->setColumnWidth(TitleColumn, 245);
    resultList->setColumnHidden(IndexColumn, true);
    resultList->setRootIsDecorated(false);
    resultList->setItemsExpandable(false);
    resultList->setUniformRowHeights(true);
    resultList->setSortingEnabled(false);
    resultList->setSelectionMode(QAbstractItemView::SingleSelection);
    resultList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    resultList->header()->setSectionsMovable(false);
    resultList->installEventFilter(this);
    resultList->viewport()->installEventFilter(this);
    layout->addWidget(resultList, 1);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    cancelButton->setAutoDefault(false);
    buttonRow->addWidget(cancelButton);
    layout->addLayout(buttonRow);

    connect(searchButton, &QPushButton::clicked, this, &SearchDialog::search);
    connect(cancelButton, &QPushButton::clicked, this, &SearchDialog::cancel);

    resize(450, 380);
}

int SearchDialog::execute()
{
    searchResultIndex = -1;
    queryEdit->setFocus();
    queryEdit->selectAll();
    exec();
    return searchResultIndex;
}

int SearchDialog::searchMode() const
{
    for (int k = 0; k < searchByButtons.size(); ++k) {
        if (searchByButtons[k]->isChecked())
            return k;
    }
    return 0;
}

void SearchDialog::setSearchMode(int mode)
{
    if (mode >= 0 && mode < searchByButtons.size())
        searchByButtons[mode]->setChecked(true);
}

void SearchDialog::setControlsEnabled(bool enabled)
{
    for (QWidget* w : {static_cast<QWidget*>(queryEdit), static_cast<QWidget*>(searchButton),
                       static_cast<QWidget*>(cancelButton), static_cast<QWidget*>(resultList)})
        w->setEnabled(enabled);
}

void SearchDialog::search()
{
    const QString query = queryEdit->text();
    if (query.isEmpty())
        return;

    // However the search ends, the progress window goes and the dialog is
    // usable again, with the focus where it was.
    struct Searching {
        SearchDialog& form;
        QPointer<QWidget> focus;
        explicit Searching(SearchDialog& f) : form(f), focus(f.focusWidget())
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

    resultList->clear();
    foundQuery = query;
    foundMode = searchMode();
    const std::vector<int> found = ts::searchTopics(project_, query, SearchMode(searchMode()),
                                                [this](int position) { progress_.setValue(position); });
    const QIcon& check = listIcons_.checkedPage;
    QList<QTreeWidgetItem*> rows;
    rows.reserve(qsizetype(found.size()));
    for (int i : found) {
        const TopicRecord& t = project_.topic(i);
        auto* row = new QTreeWidgetItem;
        row->setText(IdColumn, t.TopicID.text());
        row->setText(TitleColumn, t.Title.text());
        row->setText(IndexColumn, QString::number(i));
        row->setIcon(IdColumn, check);
        rows.append(row);
    }
    resultList->addTopLevelItems(rows);
}

int SearchDialog::topicOf(const QTreeWidgetItem* row) const
{
    bool ok = false;
    const int index = row->text(IndexColumn).toInt(&ok);
    const QByteArray id = cp1252::encode(row->text(IdColumn));
    if (ok && index >= 0 && index < project_.TopicCount() && project_.topic(index).TopicID.bytes() == id)
        return index;
    return project_.findTopic(id);
}

void SearchDialog::pickResult()
{
    if (resultList->topLevelItemCount() == 0) {
        searchResultIndex = -1;
        accept();
        return;
    }
    const QList<QTreeWidgetItem*> selected = resultList->selectedItems();
    // Rows but none selected (a double-click below the last row): nothing
    // is picked and the dialog stays.
    if (selected.isEmpty())
        return;
    searchResultIndex = topicOf(selected.first());
    accept();
}

void SearchDialog::cancel()
{
    searchResultIndex = -1;
    QDialog::reject();
}

void SearchDialog::reject()
{
    cancel();
}

void SearchDialog::closeEvent(QCloseEvent* event)
{
    searchResultIndex = -1;
    QDialog::closeEvent(event);
}

bool SearchDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == resultList->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        // The view selects the row under the mouse on the press before.
        pickResult();
        return true;
    }
    if (watched == resultList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && resultList->currentItem()) {
            // The row with the keyboard focus is the one meant, also when
            // Tab brought the focus here without selecting it.
            resultList->currentItem()->setSelected(true);
            pickResult();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace ts
