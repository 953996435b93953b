#pragma once
// A list of topics to pick one from: "Topics Found" (a keyword or ALink/KLink
// that leads to several topics) and the History window. Double-click, Enter
// or Display picks; Cancel or Escape picks nothing.

#include <QDialog>

class QTreeWidget;
class QPushButton;

namespace ts {

class HelpTopicListDialog : public QDialog {
    Q_OBJECT
public:
    struct Item {
        QString title;
        QString location; // the help file's title, shown when items come from several files
    };

    HelpTopicListDialog(const QString& caption, const QString& prompt, QWidget* parent = nullptr);

    void setItems(const std::vector<Item>& items);
    int chosenRow() const;

    // Runs the dialog; the row chosen, or -1.
    static int choose(QWidget* parent, const QString& caption, const QString& prompt, const std::vector<Item>& items);

    QPushButton* displayButton;
    // The list, for the tests.
    QTreeWidget* topicList() const { return topicList_; }

signals:
    void rowChosen(int row); // also when the dialog stays open (History)

private:
    QTreeWidget* topicList_ = nullptr;
};

} // namespace ts
