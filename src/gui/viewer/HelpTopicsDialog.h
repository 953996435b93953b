#pragma once
// The Help Topics dialog: a Contents tab (the .CNT beside the help file, when
// there is one), an Index tab (every K keyword, of this file and the files
// the .CNT adds with :Index) and a Find tab (full-text search over every
// topic of this file). It only shows and reports what was chosen; the viewer
// shows the topic.

#include "helpfile/HelpDocument.h"

#include <QDialog>

#include <memory>
#include <string>
#include <vector>

class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QLabel;

namespace ts {

class HelpTextSearch;

struct HelpIndexTarget {
    QString file;     // the help file's path
    int topic = -1;
    QString title;    // the topic's title
    QString location; // the help file's title, for lists over several files
};

struct HelpIndexEntry {
    QString keyword;
    std::vector<HelpIndexTarget> targets;
};

class HelpTopicsDialog : public QDialog {
    Q_OBJECT
public:
    enum class Tab { Contents, Index, Find };

    explicit HelpTopicsDialog(QWidget* parent = nullptr);
    ~HelpTopicsDialog() override;

    // `document` must outlive the dialog's use of it (the Find tab reads it).
    void setSources(const HelpDocument* document, const QString& caption, std::vector<HelpIndexEntry> index);
    void showTab(Tab tab);
    Tab currentTab() const;
    bool hasContentsTab() const;

    // The dialog's controls, for the tests.
    QTabWidget* tabs() const { return tabs_; }
    QTreeWidget* contentsTree() const { return contentsTree_; }
    QLineEdit* indexEdit() const { return indexEdit_; }
    QListWidget* indexList() const { return indexList_; }
    QLineEdit* findEdit() const { return findEdit_; }
    QListWidget* wordList() const { return wordList_; }
    QListWidget* findTopicList() const { return findTopicList_; }
    QLabel* findStatus() const { return findStatus_; }
    QPushButton* displayButton() const { return displayButton_; }

    const std::vector<HelpIndexEntry>& indexEntries() const { return index_; }
    // Topics found by the Find tab, in list order.
    const std::vector<int>& foundTopics() const { return found_; }

signals:
    void contentsEntryChosen(const ts::HelpContentsEntry& entry);
    void indexEntryChosen(const ts::HelpIndexEntry& entry);
    void findTopicChosen(int topic);

public slots:
    void display();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildContentsTab();
    QWidget* buildIndexTab();
    QWidget* buildFindTab();
    void fillContents();
    void fillIndex();
    void scrollIndexTo(const QString& typed);
    void updateWords();
    void updateFoundTopics();
    void updateDisplayButton();

    QTabWidget* tabs_ = nullptr;
    QTreeWidget* contentsTree_ = nullptr;
    QLineEdit* indexEdit_ = nullptr;
    QListWidget* indexList_ = nullptr;
    QLineEdit* findEdit_ = nullptr;
    QListWidget* wordList_ = nullptr;
    QListWidget* findTopicList_ = nullptr;
    QLabel* findStatus_ = nullptr;
    QPushButton* displayButton_ = nullptr;
    const HelpDocument* document_ = nullptr;
    std::vector<HelpIndexEntry> index_;      // in keyword order
    std::vector<std::u32string> indexLetters_; // each entry's first level of that order
    std::unique_ptr<HelpTextSearch> search_;
    std::vector<int> found_;
    QWidget* contentsTab_ = nullptr;
    QWidget* indexTab_ = nullptr;
    QWidget* findTab_ = nullptr;
};

} // namespace ts
