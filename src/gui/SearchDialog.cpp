#include "SearchDialog.h"

#include "SearchProgressDialog.h"
#include "WindowPlacer.h"
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
#include <QShowEvent>
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
    queryEdit_ = new QLineEdit(this);
    queryEdit_->setObjectName(QStringLiteral("queryEdit"));
    queryRow->addWidget(queryEdit_, 1);
    searchButton_ = new QPushButton(QStringLiteral("Search..."), this);
    searchButton_->setObjectName(QStringLiteral("searchButton"));
    searchButton_->setDefault(true);
    queryRow->addWidget(searchButton_);
    layout->addLayout(queryRow);

    searchByGroup_ = new QGroupBox(QStringLiteral("Search by"), this);
    searchByGroup_->setObjectName(QStringLiteral("searchByGroup"));
    auto* choices = new QHBoxLayout(searchByGroup_);
    for (const QString& caption :
         {QStringLiteral("Topic ID"), QStringLiteral("Topic Title"), QStringLiteral("Text in topic")}) {
        auto* b = new QRadioButton(caption, searchByGroup_);
        choices->addWidget(b);
        searchByButtons_.append(b);
    }
    searchByButtons_[0]->setChecked(true);
    layout->addWidget(searchByGroup_);

    resultList_ = new QTreeWidget(this);
    resultList_->setObjectName(QStringLiteral("resultList"));
    resultList_->setColumnCount(3);
    resultList_->setHeaderLabels({QStringLiteral("Topic ID"), QStringLiteral("Topic Title"), QString()});
    resultList_->setColumnWidth(IdColumn, 160);
    resultList_->setColumnWidth(TitleColumn, 245);
    resultList_->setColumnHidden(IndexColumn, true);
    resultList_->setRootIsDecorated(false);
    resultList_->setItemsExpandable(false);
    resultList_->setUniformRowHeights(true);
    resultList_->setSortingEnabled(false);
    resultList_->setSelectionMode(QAbstractItemView::SingleSelection);
    resultList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    resultList_->header()->setSectionsMovable(false);
    resultList_->installEventFilter(this);
    resultList_->viewport()->installEventFilter(this);
    layout->addWidget(resultList_, 1);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton_->setObjectName(QStringLiteral("cancelButton"));
    cancelButton_->setAutoDefault(false);
    buttonRow->addWidget(cancelButton_);
    layout->addLayout(buttonRow);

    connect(searchButton_, &QPushButton::clicked, this, &SearchDialog::search);
    connect(cancelButton_, &QPushButton::clicked, this, &SearchDialog::cancel);

    resize(450, 380);
}

void SearchDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        keepOnScreen(*this);
}

int SearchDialog::execute()
{
    searchResultIndex = -1;
    queryEdit_->setFocus();
    queryEdit_->selectAll();
    exec();
    return searchResultIndex;
}

int SearchDialog::searchMode() const
{
    for (int k = 0; k < searchByButtons_.size(); ++k) {
        if (searchByButtons_[k]->isChecked())
            return k;
    }
    return 0;
}

void SearchDialog::setSearchMode(int mode)
{
    if (mode >= 0 && mode < searchByButtons_.size())
        searchByButtons_[mode]->setChecked(true);
}

void SearchDialog::setControlsEnabled(bool enabled)
{
    for (QWidget* w : {static_cast<QWidget*>(queryEdit_), static_cast<QWidget*>(searchButton_),
                       static_cast<QWidget*>(cancelButton_), static_cast<QWidget*>(resultList_)})
        w->setEnabled(enabled);
}

void SearchDialog::search()
{
    const QString query = queryEdit_->text();
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

    resultList_->clear();
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
    resultList_->addTopLevelItems(rows);
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
    if (resultList_->topLevelItemCount() == 0) {
        searchResultIndex = -1;
        accept();
        return;
    }
    const QList<QTreeWidgetItem*> selected = resultList_->selectedItems();
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
    if (watched == resultList_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        // The view selects the row under the mouse on the press before.
        pickResult();
        return true;
    }
    if (watched == resultList_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && resultList_->currentItem()) {
            // The row with the keyboard focus is the one meant, also when
            // Tab brought the focus here without selecting it.
            resultList_->currentItem()->setSelected(true);
            pickResult();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace ts
