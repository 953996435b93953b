#pragma once
// Drivers of the formatting toolbar and the editors for the editing tests:
// clicks and keys into the editors and the toolbar's boxes, and what the
// editors hold at a position.

#include "test_mainwindow_support.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QTextBlock>

namespace ts::testing {

// The format of the character at `position` (0-based) of the plain text.
inline QTextCharFormat charAt(const QTextEdit* editor, int position)
{
    QTextCursor c(editor->document());
    c.setPosition(position + 1);
    return c.charFormat();
}

inline QTextBlockFormat blockFormat(const QTextEdit* editor, int block)
{
    return editor->document()->findBlockByNumber(block).blockFormat();
}

inline Qt::Alignment alignment(const QTextEdit* editor, int block)
{
    return blockFormat(editor, block).alignment() & Qt::AlignHorizontal_Mask;
}

// A mouse click into the editor's empty lower right corner: the caret goes
// to the end of the text.
inline void clickInto(QTextEdit* editor)
{
    QWidget* v = editor->viewport();
    QTest::mouseClick(v, Qt::LeftButton, {}, QPoint(v->width() - 4, v->height() - 4));
    QVERIFY(editor->hasFocus());
}

// Selects characters [from, to) of the current paragraph-free text with the
// keyboard.
inline void selectByKeys(QTextEdit* editor, int from, int to)
{
    QTest::keyClick(editor, Qt::Key_Home, Qt::ControlModifier);
    for (int i = 0; i < from; ++i)
        QTest::keyClick(editor, Qt::Key_Right);
    for (int i = from; i < to; ++i)
        QTest::keyClick(editor, Qt::Key_Right, Qt::ShiftModifier);
}

inline void clickCombo(QComboBox* combo)
{
    QTest::mouseClick(combo->lineEdit(), Qt::LeftButton);
    QVERIFY(combo->lineEdit()->hasFocus());
}

// Opens the drop-down list and clicks the entry `text`.
inline void chooseFromList(QComboBox* combo, const QString& text)
{
    clickCombo(combo);
    const int row = combo->findText(text);
    QVERIFY2(row >= 0, qPrintable(text));
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    QVERIFY(QTest::qWaitForWindowExposed(view->window()));
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    QTRY_VERIFY(!view->isVisible());
    QCOMPARE(combo->currentText(), text);
}

// Replaces the text of the combo box with `keys`, typed one by one.
inline void typeIntoCombo(QComboBox* combo, const QString& keys)
{
    clickCombo(combo);
    QTest::keyClick(combo->lineEdit(), Qt::Key_End);
    QTest::keyClick(combo->lineEdit(), Qt::Key_Home, Qt::ShiftModifier);
    QTest::keyClicks(combo->lineEdit(), keys);
}

// The window with a new project of one topic, active.
inline MainWindow& withProject(MainWindowHarness& h)
{
    h.show();
    h.newProject(QStringLiteral("ONE"));
    h.activate();
    return *h.form;
}

inline QString faceOf(const QTextCharFormat& f)
{
    const QStringList families = f.property(QTextFormat::FontFamilies).toStringList();
    return families.isEmpty() ? QString() : families.front();
}

inline QColor swatch(const MainWindow& f)
{
    return f.formatting->colourSwatch()->palette().color(QPalette::Window);
}

} // namespace ts::testing
