#include "WindowFieldsForm.h"

#include "ColourPanel.h"
#include "StorableTextValidator.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ts {

namespace {

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& text)
{
    auto* c = new QCheckBox(text, parent);
    c->setObjectName(QString::fromLatin1(name));
    return c;
}

QPushButton* pushButton(QWidget* parent, const char* name, const QString& text)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    // Enter is the dialog's "OK" wherever the focus is.
    b->setAutoDefault(false);
    return b;
}

// A position or size box: typing stops at `limit` characters, but a longer
// value put there by the program (a stored -1000 or 12345, an Auto-size
// result) is shown and kept whole, and may be shortened by typing.
class TypingLimitEdit : public QLineEdit {
public:
    TypingLimitEdit(QWidget* parent, int limit) : QLineEdit(parent), limit_(limit) {}

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        const Before before = remember();
        QLineEdit::keyPressEvent(event);
        undoIfTooLong(before);
    }
    void inputMethodEvent(QInputMethodEvent* event) override
    {
        const Before before = remember();
        QLineEdit::inputMethodEvent(event);
        undoIfTooLong(before);
    }

private:
    struct Before {
        QString Text;
        int Cursor;
    };
    Before remember() const { return {text(), cursorPosition()}; }
    void undoIfTooLong(const Before& before)
    {
        if (text().size() > limit_ && text().size() > before.Text.size()) {
            setText(before.Text);
            setCursorPosition(before.Cursor);
        }
    }

    int limit_;
};

QLineEdit* limitedEdit(QWidget* parent, const char* name, int limit)
{
    auto* e = new TypingLimitEdit(parent, limit);
    e->setObjectName(QString::fromLatin1(name));
    return e;
}

} // namespace

WindowFieldsForm::WindowFieldsForm(QWidget* dialog) : dialog_(dialog)
{
    captionEdit_ = new QLineEdit(dialog);
    captionEdit_->setObjectName(QStringLiteral("captionEdit"));
    captionEdit_->setMaxLength(100);
    captionEdit_->setValidator(new StorableTextValidator(dialog));
    captionEdit_->setProperty("helpContext", 110);
    leftEdit_ = limitedEdit(dialog, "leftEdit", 4);
    widthEdit_ = limitedEdit(dialog, "widthEdit", 4);
    topEdit_ = limitedEdit(dialog, "topEdit", 4);
    heightEdit_ = limitedEdit(dialog, "heightEdit", 4);
    for (QLineEdit* e : {leftEdit_, widthEdit_, topEdit_, heightEdit_}) {
        e->setText(QStringLiteral("0"));
        e->setProperty("helpContext", 20);
    }
    autoSizeButton_ = pushButton(dialog, "autoSizeButton", QStringLiteral("Auto-size"));
    autoSizeButton_->setProperty("helpContext", 50);
    defaultPositionCheck_ = checkBox(dialog, "defaultPositionCheck", QStringLiteral("Use default position"));
    defaultPositionCheck_->setProperty("helpContext", 70);
    autoHeightCheck_ = checkBox(dialog, "autoHeightCheck", QStringLiteral("auto-size height"));
    autoHeightCheck_->setProperty("helpContext", 80);
    onTopCheck_ = checkBox(dialog, "onTopCheck", QStringLiteral("Keep window on top"));
    onTopCheck_->setProperty("helpContext", 60);

    nonScrollingColourPanel_ = new ColourPanel(QStringLiteral("Non-scrolling area color - click to change"), dialog);
    nonScrollingColourPanel_->setObjectName(QStringLiteral("nonScrollingColourPanel"));
    nonScrollingColourPanel_->setProperty("helpContext", 100);
    topicColourPanel_ = new ColourPanel(QStringLiteral("Topic area color - click to change"), dialog);
    topicColourPanel_->setObjectName(QStringLiteral("topicColourPanel"));
    topicColourPanel_->setProperty("helpContext", 100);

    makeButtonsGroup();
}

void WindowFieldsForm::makeButtonsGroup()
{
    // The six check boxes are the group's first children, in the order of
    // the stored buttons; its layout and push buttons come after them.
    buttonsGroup_ = new QGroupBox(QStringLiteral("Show Buttons:"), dialog_);
    buttonsGroup_->setObjectName(QStringLiteral("buttonsGroup"));
    buttonsGroup_->setProperty("helpContext", 90);
    buttonBoxes_ = {checkBox(buttonsGroup_, "browseCheck", QStringLiteral("Browse")),
                    checkBox(buttonsGroup_, "contentsCheck", QStringLiteral("Contents")),
                    checkBox(buttonsGroup_, "indexCheck", QStringLiteral("Index")),
                    checkBox(buttonsGroup_, "printCheck", QStringLiteral("Print")),
                    checkBox(buttonsGroup_, "backCheck", QStringLiteral("Back")),
                    checkBox(buttonsGroup_, "findCheck", QStringLiteral("Find"))};
    clearButtonsButton_ = pushButton(buttonsGroup_, "clearButtonsButton", QStringLiteral("Clear"));
    checkButtonsButton_ = pushButton(buttonsGroup_, "checkButtonsButton", QStringLiteral("Check"));
    // Two rows of three.
    auto* buttonGrid = new QGridLayout;
    for (int i = 0; i < int(buttonBoxes_.size()); ++i)
        buttonGrid->addWidget(buttonBoxes_[size_t(i)], i / 3, i % 3);
    auto* groupButtons = new QVBoxLayout;
    groupButtons->addWidget(clearButtonsButton_);
    groupButtons->addWidget(checkButtonsButton_);
    auto* groupRow = new QHBoxLayout;
    groupRow->addLayout(buttonGrid, 1);
    groupRow->addLayout(groupButtons);
    buttonsGroup_->setLayout(groupRow);
}

void WindowFieldsForm::addRows(QVBoxLayout* layout) const
{
    auto label = [this](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, dialog_);
        l->setBuddy(buddy);
        return l;
    };

    auto* captionRow = new QHBoxLayout;
    captionRow->addWidget(label(QStringLiteral("Title bar text:"), captionEdit_));
    captionRow->addWidget(captionEdit_, 1);

    auto* position = new QGridLayout;
    position->addWidget(label(QStringLiteral("Left:"), leftEdit_), 0, 0);
    position->addWidget(leftEdit_, 0, 1);
    position->addWidget(label(QStringLiteral("Width:"), widthEdit_), 0, 2);
    position->addWidget(widthEdit_, 0, 3);
    position->addWidget(autoSizeButton_, 0, 4);
    position->addWidget(label(QStringLiteral("Top:"), topEdit_), 1, 0);
    position->addWidget(topEdit_, 1, 1);
    position->addWidget(label(QStringLiteral("Height:"), heightEdit_), 1, 2);
    position->addWidget(heightEdit_, 1, 3);
    position->addWidget(defaultPositionCheck_, 1, 4);

    auto* flags = new QHBoxLayout;
    flags->addWidget(autoHeightCheck_);
    flags->addWidget(onTopCheck_);
    flags->addStretch(1);

    auto* colours = new QHBoxLayout;
    colours->addWidget(nonScrollingColourPanel_, 1);
    colours->addWidget(topicColourPanel_, 1);

    layout->addLayout(captionRow);
    layout->addLayout(position);
    layout->addLayout(flags);
    layout->addLayout(colours);
    layout->addWidget(buttonsGroup_);
}

QList<QWidget*> WindowFieldsForm::controls() const
{
    QList<QWidget*> out{captionEdit_, leftEdit_, widthEdit_, topEdit_, heightEdit_, autoSizeButton_,
                        defaultPositionCheck_, autoHeightCheck_, onTopCheck_, nonScrollingColourPanel_, topicColourPanel_};
    for (QCheckBox* box : buttonBoxes_)
        out.append(box);
    out << clearButtonsButton_ << checkButtonsButton_;
    return out;
}

WindowFields WindowFieldsForm::fields() const
{
    WindowFields f;
    f.Caption = captionEdit_->text();
    f.Left = leftEdit_->text();
    f.Width = widthEdit_->text();
    f.Top = topEdit_->text();
    f.Height = heightEdit_->text();
    f.DefaultPosition = defaultPositionCheck_->isChecked();
    f.AutoSizeHeight = autoHeightCheck_->isChecked();
    f.OnTop = onTopCheck_->isChecked();
    f.NonScrollColour = nonScrollingColourPanel_->colour();
    f.TopicColour = topicColourPanel_->colour();
    for (size_t i = 0; i < buttonBoxes_.size(); ++i)
        f.Buttons[i] = buttonBoxes_[i]->isChecked();
    return f;
}

void WindowFieldsForm::setFields(const WindowFields& f)
{
    captionEdit_->setText(f.Caption);
    leftEdit_->setText(f.Left);
    widthEdit_->setText(f.Width);
    topEdit_->setText(f.Top);
    heightEdit_->setText(f.Height);
    defaultPositionCheck_->setChecked(f.DefaultPosition);
    autoHeightCheck_->setChecked(f.AutoSizeHeight);
    onTopCheck_->setChecked(f.OnTop);
    nonScrollingColourPanel_->setColour(f.NonScrollColour);
    topicColourPanel_->setColour(f.TopicColour);
    for (size_t i = 0; i < buttonBoxes_.size(); ++i)
        buttonBoxes_[i]->setChecked(f.Buttons[i]);
}

void WindowFieldsForm::setAllButtons(bool checked)
{
    for (QCheckBox* box : buttonBoxes_)
        box->setChecked(checked);
}

} // namespace ts
