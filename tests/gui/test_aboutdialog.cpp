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

QColor textColour(const QLabel* label) { return label->palette().color(QPalette::WindowText); }

void enter(QWidget* w)
{
    QEnterEvent e(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(w, &e);
}

} // namespace

void AboutDialogTest::linksTurnBlueOneAtATime()
{
    AboutDialog about;
    about.show();
    QCOMPARE(about.windowTitle(), QStringLiteral("About Topicsmith"));
    // The version --version prints.
    QCOMPARE(about.versionLabel()->text(), QStringLiteral("Version " TOPICSMITH_VERSION));
    QCOMPARE(about.size(), QSize(329, 109));

    enter(about.emailLink());
    QCOMPARE(textColour(about.emailLink()), QColor(Qt::blue));
    QCOMPARE(textColour(about.webLink()), QColor(Qt::black));
    // Straight from the e-mail link onto the web link: only the web link is blue.
    enter(about.webLink());
    QCOMPARE(textColour(about.emailLink()), QColor(Qt::black));
    QCOMPARE(textColour(about.webLink()), QColor(Qt::blue));
    for (QWidget* elsewhere : {static_cast<QWidget*>(about.closeLabel()), static_cast<QWidget*>(about.banner()),
                               static_cast<QWidget*>(about.creditLabel()), static_cast<QWidget*>(&about)}) {
        enter(about.emailLink());
        enter(elsewhere);
        QCOMPARE(textColour(about.emailLink()), QColor(Qt::black));
        QCOMPARE(textColour(about.webLink()), QColor(Qt::black));
    }
}

void AboutDialogTest::linksOpenMailAndWebAddresses()
{
    AboutDialog about;
    QList<QUrl> opened;
    about.openUrl = [&](const QUrl& url) { opened.append(url); };
    about.show();
    QTest::mouseClick(about.emailLink(), Qt::LeftButton);
    QTest::mouseClick(about.webLink(), Qt::LeftButton);
    QCOMPARE(opened.size(), 2);
    QCOMPARE(opened.at(0).toString(), QStringLiteral("mailto:") + AboutDialog::authorEmail() + QStringLiteral("?subject=Topicsmith"));
    QCOMPARE(opened.at(1), QUrl(about.webLink()->text()));
    QVERIFY(about.isVisible()); // a link does not close the box
}

void AboutDialogTest::picturesAndCloseLabelCloseTheBox()
{
    for (int which = 0; which < 3; ++which) {
        AboutDialog about;
        about.show();
        QLabel* target = which == 0 ? about.banner() : which == 1 ? about.iconLabel() : about.closeLabel();
        QTest::mouseClick(target, Qt::LeftButton);
        QVERIFY2(!about.isVisible(), qPrintable(target->objectName()));
        QCOMPARE(about.result(), int(QDialog::Accepted));
    }
}

QTEST_MAIN(AboutDialogTest)
#include "test_aboutdialog.moc"
