// The about box: links light up under the mouse one at a time, clicks on
// them open addresses, clicks on the pictures or "Close" close the box.

#include "AboutDialog.h"

#include <QEnterEvent>
#include <QLabel>
#include <QTest>
#include <QUrl>

using namespace ts;

class AboutDialogTest : public QObject {
    Q_OBJECT

private slots:
    void linksTurnBlueOneAtATime();
    void linksOpenMailAndWebAddresses();
    void picturesAndCloseLabelCloseTheBox();
};

namespace {

QColor textColor(const QLabel* label) { return label->palette().color(QPalette::WindowText); }

void enter(QWidget* w)
{
    QEnterEvent e(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(w, &e);
}

} // namespace

void AboutDialogTest::linksTurnBlueOneAtATime()
{
    TAbout about;
    about.show();
    QCOMPARE(about.windowTitle(), QStringLiteral("About Topicsmith"));
    QCOMPARE(about.Label1->text(), QStringLiteral("Version 1.1"));
    QCOMPARE(about.size(), QSize(329, 109));

    enter(about.Label3);
    QCOMPARE(textColor(about.Label3), QColor(Qt::blue));
    QCOMPARE(textColor(about.Label4), QColor(Qt::black));
    // Straight from the e-mail link onto the web link: only the web link is blue.
    enter(about.Label4);
    QCOMPARE(textColor(about.Label3), QColor(Qt::black));
    QCOMPARE(textColor(about.Label4), QColor(Qt::blue));
    for (QWidget* elsewhere : {static_cast<QWidget*>(about.Label2), static_cast<QWidget*>(about.Image2),
                               static_cast<QWidget*>(about.Label5), static_cast<QWidget*>(&about)}) {
        enter(about.Label3);
        enter(elsewhere);
        QCOMPARE(textColor(about.Label3), QColor(Qt::black));
        QCOMPARE(textColor(about.Label4), QColor(Qt::black));
    }
}

void AboutDialogTest::linksOpenMailAndWebAddresses()
{
    TAbout about;
    QList<QUrl> opened;
    about.OpenUrl = [&](const QUrl& url) { opened.append(url); };
    about.show();
    QTest::mouseClick(about.Label3, Qt::LeftButton);
    QTest::mouseClick(about.Label4, Qt::LeftButton);
    QCOMPARE(opened.size(), 2);
    QCOMPARE(opened.at(0).toString(), QStringLiteral("mailto:") + TAbout::authorEmail() + QStringLiteral("?subject=Topicsmith"));
    QCOMPARE(opened.at(1), QUrl(about.Label4->text()));
    QVERIFY(about.isVisible()); // a link does not close the box
}

void AboutDialogTest::picturesAndCloseLabelCloseTheBox()
{
    for (int which = 0; which < 3; ++which) {
        TAbout about;
        about.show();
        QLabel* target = which == 0 ? about.Image2 : which == 1 ? about.Image1 : about.Label2;
        QTest::mouseClick(target, Qt::LeftButton);
        QVERIFY2(!about.isVisible(), qPrintable(target->objectName()));
        QCOMPARE(about.result(), int(QDialog::Accepted));
    }
}

QTEST_MAIN(AboutDialogTest)
#include "test_aboutdialog.moc"
