#pragma once
// ContentsEntryForm: the contents editor's boxes for the selected entry:
// Title, Topic ID, Help File and Window. A heading uses the title alone; a
// topic's text is composed from all four ("title=id@file>window"), and the
// Window box is open only while the Topic ID box holds something.
//
// The boxes are made as children of the dialog and laid out in the grid
// layout() gives. Which entry they show, and when their text goes back to
// it, is the dialog's business: it asks composedText() when a box is left,
// Enter is pressed in one, or the selection moves on.

#include "contents/ContentsEditing.h"

#include <QList>
#include <QStringList>

#include <optional>

class QComboBox;
class QGridLayout;
class QLineEdit;
class QObject;
class QWidget;

namespace ts {

class ContentsEntryForm {
public:
    // What ends an edit; it decides whether the window joins the text.
    enum class Trigger { TitleLeft, TopicIdLeft, EnterKey, HelpFileLeft, ComboExit, SelectionMove };

    explicit ContentsEntryForm(QWidget* dialog);

    // The labels and the boxes, two columns.
    QGridLayout* layout() const;
    // The four boxes, to watch their focus.
    QList<QWidget*> boxes() const;

    // Empties the title, Topic ID and help file boxes.
    void clearTexts();
    // The choices of the Window box: the project's windows.
    void setWindowNames(const QStringList& names);
    // Shows `entry` (nothing changes when it is null); with no entries at all
    // the boxes are empty and closed.
    void show(const ContentsEntry* entry, bool treeEmpty);
    // The text of an entry of `kind` as the boxes compose it at `trigger`.
    QString composedText(Trigger trigger, ContentsKind kind) const;
    // The trigger that leaving `box` is, or nothing for a widget that is not
    // one of the boxes.
    std::optional<Trigger> leaving(const QObject* box) const;

    QLineEdit* titleEdit() const { return titleEdit_; }
    QLineEdit* topicIdEdit() const { return topicIdEdit_; }
    QLineEdit* helpFileEdit() const { return helpFileEdit_; }
    QComboBox* windowCombo() const { return windowCombo_; }

private:
    QWidget* dialog_;
    QLineEdit *titleEdit_ = nullptr, *topicIdEdit_ = nullptr, *helpFileEdit_ = nullptr;
    QComboBox* windowCombo_ = nullptr;
};

} // namespace ts
