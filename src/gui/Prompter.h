#pragma once
// Every message box, question and common dialog of the program goes through a
// Prompter. The program uses WidgetPrompter; GUI tests substitute a scripted
// one that records what was shown and answers from a script.
//
// Message texts are passed exactly as the program defines them; "\r" (or
// "\r\n") inside a text is a line break.

#include <QString>
#include <cstdint>
#include <optional>

class QWidget;
class QTextDocument;

namespace ts {

class Prompter {
public:
    enum class Icon { None, Information, Warning, Error, Question };
    // YesNoOrKeep: Yes and No, while Escape and the close box answer Cancel,
    // for the questions whose No throws work away.
    enum class Buttons { Ok, OkCancel, YesNo, YesNoOrKeep };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~Prompter() = default;

    virtual Answer message(QWidget* parent, const QString& text, const QString& caption = QString(),
                           Buttons buttons = Buttons::Ok, Icon icon = Icon::None) = 0;

    // File dialogs. `filter` uses the program's "Description|*.EXT" form
    // (several pairs separated by '|'). Return the chosen full path, or an
    // empty string when the user cancels.
    virtual QString openFile(QWidget* parent, const QString& filter, const QString& fileName) = 0;
    virtual QString saveFile(QWidget* parent, const QString& filter, const QString& fileName,
                             const QString& defaultSuffix) = 0;
    // Folder dialog: `caption` over it, starting at `folder` (which need not
    // exist yet). The chosen folder, or empty when the user cancels.
    virtual QString chooseFolder(QWidget* parent, const QString& caption, const QString& folder) = 0;

    // Colour dialog: 0x00BBGGRR in and out; empty when cancelled.
    virtual std::optional<std::uint32_t> chooseColour(QWidget* parent, std::uint32_t initial) = 0;

    // Print dialog followed by printing `document` under `jobTitle`; false
    // when the user cancels.
    virtual bool print(QWidget* parent, const QTextDocument& document, const QString& jobTitle) = 0;

    // A failed command's error (a file that cannot be read or written) under
    // the program's name.
    void error(QWidget* parent, const QString& text)
    {
        message(parent, text, QStringLiteral("Topicsmith"), Buttons::Ok, Icon::Error);
    }
};

// The real dialogs: QMessageBox, QFileDialog, QColorDialog, QPrintDialog.
class WidgetPrompter : public Prompter {
public:
    Answer message(QWidget* parent, const QString& text, const QString& caption, Buttons buttons,
                   Icon icon) override;
    QString openFile(QWidget* parent, const QString& filter, const QString& fileName) override;
    QString saveFile(QWidget* parent, const QString& filter, const QString& fileName,
                     const QString& defaultSuffix) override;
    QString chooseFolder(QWidget* parent, const QString& caption, const QString& folder) override;
    std::optional<std::uint32_t> chooseColour(QWidget* parent, std::uint32_t initial) override;
    bool print(QWidget* parent, const QTextDocument& document, const QString& jobTitle) override;

    // "Topicsmith Project (*.tsp)|*.TSP" -> "Topicsmith Project (*.tsp) (*.TSP *.tsp)"
    static QString qtFilter(const QString& filter);
    // "\r\n" and lone "\r" become "\n".
    static QString lineBreaks(const QString& text);
};

} // namespace ts
