// The window editor's fields on their own: every field reads back what was
// shown, the six button boxes keep the stored order, Clear and Check touch
// only them, and the position boxes stop typing at four characters while
// keeping longer values the program puts there.

#include "ColourPanel.h"
#include "WindowFieldsForm.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

using namespace ts;

namespace {

WindowFields sampleFields()
{
    WindowFields f;
    f.Caption = QStringLiteral("Reference");
    f.Left = QStringLiteral("-1000");
    f.Width = QStringLiteral("12345");
    f.Top = QStringLiteral("7");
    f.Height = QStringLiteral("0");
    f.DefaultPosition = true;
    f.AutoSizeHeight = true;
    f.OnTop = false;
    f.NonScrollColour = 0x00112233;
    f.TopicColour = 0x00FFEEDD;
    f.Buttons = {true, false, true, false, false, true};
    return f;
}

void compareFields(const WindowFields& a, const WindowFields& b)
{
    QCOMPARE(a.Caption, b.Caption);
    QCOMPARE(a.Left, b.Left);
    QCOMPARE(a.Width, b.Width);
    QCOMPARE(a.Top, b.Top);
    QCOMPARE(a.Height, b.Height);
    QCOMPARE(a.DefaultPosition, b.DefaultPosition);
    QCOMPARE(a.AutoSizeHeight, b.AutoSizeHeight);
    QCOMPARE(a.OnTop, b.OnTop);
    QCOMPARE(a.NonScrollColour, b.NonScrollColour);
    QCOMPARE(a.TopicColour, b.TopicColour);
    QCOMPARE(a.Buttons, b.Buttons);
}

} // namespace

class WindowFieldsFormTest : public QObject {
    Q_OBJECT

private slots:
    void readsBackWhatItShowsAndClearAndCheckTouchOnlyTheButtons();
    void buttonBoxesAndControlsComeInTheirOrder();
    void typingStopsAtFourCharactersButLongerValuesStayWhole();
};

void WindowFieldsFormTest::readsBackWhatItShowsAndClearAndCheckTouchOnlyTheButtons()
{
    QWidget dialog;
    WindowFieldsForm form(&dialog);
    form.addRows(new QVBoxLayout(&dialog));
    const WindowFields shown = sampleFields();
    form.setFields(shown);
    compareFields(form.fields(), shown);
    QCOMPARE(form.captionEdit()->text(), shown.Caption);
    QCOMPARE(form.topicColourPanel()->colour(), shown.TopicColour);

    // The boxes are in the order of the stored buttons.
    form.buttonBoxes()[3]->setChecked(true);
    QVERIFY(form.fields().Buttons[3]);

    form.setAllButtons(true);
    WindowFields all = shown;
    all.Buttons.fill(true);
    compareFields(form.fields(), all);
    form.setAllButtons(false);
    all.Buttons.fill(false);
    compareFields(form.fields(), all);
}

void WindowFieldsFormTest::buttonBoxesAndControlsComeInTheirOrder()
{
    QWidget dialog;
    WindowFieldsForm form(&dialog);
    form.addRows(new QVBoxLayout(&dialog));

    // The group's first children are the six boxes in the stored order.
    const QList<QCheckBox*> children = form.buttonsGroup()->findChildren<QCheckBox*>(Qt::FindDirectChildrenOnly);
    QStringList names;
    for (size_t i = 0; i < form.buttonBoxes().size(); ++i) {
        QCOMPARE(children.at(qsizetype(i)), form.buttonBoxes()[i]);
        names << form.buttonBoxes()[i]->objectName();
    }
    QCOMPARE(names, (QStringList{QStringLiteral("browseCheck"), QStringLiteral("contentsCheck"), QStringLiteral("indexCheck"),
                                 QStringLiteral("printCheck"), QStringLiteral("backCheck"), QStringLiteral("findCheck")}));

    // Tab order: the focus chain meets the controls in the order controls()
    // lists them.
    const QList<QWidget*> controls = form.controls();
    QCOMPARE(controls.size(), 19);
    QList<QWidget*> met;
    QWidget* w = controls.first();
    do {
        if (controls.contains(w) && !met.contains(w))
            met.append(w);
        w = w->nextInFocusChain();
    } while (w != controls.first());
    QCOMPARE(met, controls);

    // Auto-size reads the boxes as left, top, width, height.
    const auto place = form.placeBoxes();
    QCOMPARE(place[0], form.leftEdit());
    QCOMPARE(place[1], form.topEdit());
    QCOMPARE(place[2], form.widthEdit());
    QCOMPARE(place[3], form.heightEdit());
}

void WindowFieldsFormTest::typingStopsAtFourCharactersButLongerValuesStayWhole()
{
    QWidget dialog;
    WindowFieldsForm form(&dialog);
    form.addRows(new QVBoxLayout(&dialog));
    QLineEdit* left = form.leftEdit();

    left->clear();
    QTest::keyClicks(left, QStringLiteral("123456"));
    QCOMPARE(left->text(), QStringLiteral("1234"));

    form.setFields(sampleFields());
    QCOMPARE(left->text(), QStringLiteral("-1000"));
    left->end(false);
    QTest::keyClick(left, Qt::Key_5);
    QCOMPARE(left->text(), QStringLiteral("-1000"));
    QTest::keyClick(left, Qt::Key_Backspace);
    QCOMPARE(left->text(), QStringLiteral("-100"));
    QCOMPARE(form.fields().Left, QStringLiteral("-100"));
}

QTEST_MAIN(WindowFieldsFormTest)
#include "test_windowfieldsform.moc"
