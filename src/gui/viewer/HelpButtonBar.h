#pragma once
// The row of buttons above a help window's text. Every button runs a macro
// (the standard ones too: Contents() for Contents, Back() for Back, ...), so
// that ChangeButtonBinding, DisableButton and EnableButton treat all buttons
// alike. Button ids ("btn_back") are compared without regard to case.

#include <QString>
#include <QWidget>

#include <vector>

class QHBoxLayout;
class QPushButton;

namespace ts {

class HelpButtonBar : public QWidget {
    Q_OBJECT
public:
    explicit HelpButtonBar(QWidget* parent = nullptr);

    // Adds a button at the end, or changes the caption and macro of the one
    // with this id.
    void addButton(const QString& id, const QString& caption, const QString& macro);
    void removeButton(const QString& id);
    bool bindButton(const QString& id, const QString& macro);
    // A file's DisableButton/EnableButton.
    bool setDisabledByFile(const QString& id, bool disabled);
    // Whether the viewer has something for the button to do (Back with an
    // empty list, >> at the end of the browse sequence).
    void setAvailable(const QString& id, bool available);

    QPushButton* button(const QString& id) const;
    QString macro(const QString& id) const;
    QStringList ids() const;

signals:
    void macroRequested(const QString& macro);

private:
    struct Button {
        QString id; // folded
        QPushButton* button = nullptr;
        QString macro;
        bool disabledByFile = false;
        bool available = true;
    };
    Button* find(const QString& id);
    const Button* find(const QString& id) const;
    static void updateEnabled(Button& button);

    QHBoxLayout* layout_;
    std::vector<Button> buttons_;
};

} // namespace ts
