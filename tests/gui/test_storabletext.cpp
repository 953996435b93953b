// The single-line fields stored in Windows-1252 refuse other characters
// visibly: a beep and a notice naming the character, the field unchanged.

#include "test_mainwindow_support.h"

#include "ContentsDialog.h"
#include "StorableTextValidator.h"
#include "TopicPropertiesDialog.h"
#include "WindowEditorDialog.h"

#include <QSignalSpy>
#include <QToolTip>

using namespace ts;
using namespace ts::testing;

class StorableTextTest : public QObject {
    Q_OBJECT

private slots:
    void refusedCharacterIsNamedAndLeavesTheFieldUnchanged();
    void everyStoredFieldHasTheValidator();
};

void StorableTextTest::refusedCharacterIsNamedAndLeavesTheFieldUnchanged()
{
    MainWindowHarness h;
    h.show();
    h.newProject(QStringLiteral("T"));
    QLineEdit* field = h.form->editors->keywordsEdit();
    field->setFocus();
    auto* validator = qobject_cast<const StorableTextValidator*>(field->validator());
    QVERIFY(validator);
    QSignalSpy spy(validator, &StorableTextValidator::refused);

    QTest::keyClicks(field, QStringLiteral("ab"));
    QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(QChar(0x0416)), Qt::NoModifier);
    QCOMPARE(field->text(), QStringLiteral("ab"));
    QCOMPARE(spy.count(), 1);
    const QString notice = QStringLiteral("'\u0416' cannot be stored in a project file");
    QCOMPARE(spy.back().at(0).toString(), notice);
    QCOMPARE(QToolTip::text(), notice);

    // A paste keeps what can be stored and names the character outside
    // the basic plane whole.
    field->insert(QStringLiteral("x\U0001F600y\u20AC"));
    QCOMPARE(field->text(), QStringLiteral("abxy\u20AC"));
    QCOMPARE(spy.back().at(0).toString(), QStringLiteral("'\U0001F600' cannot be stored in a project file"));

    // Storable text says nothing.
    QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(QChar(0x00E9)), Qt::NoModifier);
    QCOMPARE(field->text(), QStringLiteral("abxy\u20AC\u00E9"));
    QCOMPARE(spy.count(), 2);
}

void StorableTextTest::everyStoredFieldHasTheValidator()
{
    MainWindowHarness h;
    MainWindow& f = *h.form;
    for (const QLineEdit* edit :
         {f.editors->keywordsEdit(), f.topics->topicPropertiesDialog->topicIdEdit,
          f.topics->topicPropertiesDialog->titleEdit, f.topics->windowEditor->captionEdit(),
          f.tools->contentsDialog->titleEdit(), f.tools->contentsDialog->topicIdEdit(),
          f.tools->contentsDialog->helpFileEdit()})
        QVERIFY2(qobject_cast<const StorableTextValidator*>(edit->validator()), qPrintable(edit->objectName()));
}

QTEST_MAIN(StorableTextTest)
#include "test_storabletext.moc"
