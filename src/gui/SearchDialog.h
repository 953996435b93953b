#pragma once
// SearchDialog "Search topic...": finds the topics whose Topic ID, title or
// stored text holds a piece of text, lists them in table order, and reports
// the one the user double-clicks (or picks with Enter) in searchResultIndex.
// What happens with the picked topic is the caller's business.
//
// Made once with the main window and kept for the run: the query, the
// chosen mode and the rows of the last search stay until the next search.
// The search reads the project as it stands, text blocks as last stored.

#include "ListIcons.h"

#include <QDialog>
#include <QIcon>
#include <QList>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace ts {

class Project;
class SearchProgressDialog;

class SearchDialog : public QDialog {
    Q_OBJECT

public:
    // `listIcons` are the main window's; the rows show its checked page when
    // they are made.
    SearchDialog(const Project& project, SearchProgressDialog& progress, const ListIcons& listIcons,
                QWidget* parent = nullptr);

    // Shows the dialog modally; returns searchResultIndex.
    int execute();

    // The topic picked at the dialog's last closing, or -1.
    int searchResultIndex = -1;
    // What the rows shown were found by: the query and the "Search by" entry
    // of the last search.
    QString foundQuery;
    int foundMode = 0;

    // The chosen "Search by" entry: 0 Topic ID, 1 Topic Title, 2 Text in topic.
    int searchMode() const;
    void setSearchMode(int mode);

    // The dialog's controls, for the tests.
    QLineEdit* queryEdit() const { return queryEdit_; }
    QPushButton* searchButton() const { return searchButton_; }
    QGroupBox* searchByGroup() const { return searchByGroup_; }
    const QList<QRadioButton*>& searchByButtons() const { return searchByButtons_; }
    QPushButton* cancelButton() const { return cancelButton_; }
    QTreeWidget* resultList() const { return resultList_; }

    // Columns of resultList; the third, hidden, holds the topic's index.
    enum Column { IdColumn = 0, TitleColumn = 1, IndexColumn = 2 };

public slots:
    void search();
    void pickResult();
    void cancel();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Escape is Cancel.
    void reject() override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* queryEdit_ = nullptr;
    QPushButton* searchButton_ = nullptr;
    QGroupBox* searchByGroup_ = nullptr;
    QList<QRadioButton*> searchByButtons_; // the three entries of searchByGroup
    QPushButton* cancelButton_ = nullptr;
    QTreeWidget* resultList_ = nullptr;

    void setControlsEnabled(bool enabled);
    // The topic a row stands for now: its index while that slot still holds
    // the row's Topic ID, else the topic that has the ID, else -1 (the
    // project changed since the search).
    int topicOf(const QTreeWidgetItem* row) const;

    const Project& project_;
    SearchProgressDialog& progress_;
    const ListIcons& listIcons_;
};

} // namespace ts
