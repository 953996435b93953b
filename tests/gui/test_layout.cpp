// The main window at its smallest: every control shows whole, the editors
// keep lines in view, and the status bar's activity panel holds its texts.

#include "test_mainwindow_support.h"

#include "ButtonDialog.h"
#include "LinkDialog.h"

#include <QLabel>
#include <QProgressBar>
#include <QToolButton>

using namespace ts;
using namespace ts::testing;

class LayoutTest : public QObject {
    Q_OBJECT

private slots:
    void smallestMainWindowKeepsEveryControlUsable();
    void activityPanelHoldsEveryStatusText();
    void insertionDialogsAreWideEnoughForTheirTexts();
};

void LayoutTest::smallestMainWindowKeepsEveryControlUsable()
{
    MainWindowHarness h;
    h.show();
    h.newProject(QStringLiteral("T"));
    MainWindow& f = *h.form;
    f.resize(1, 1);
    QCoreApplication::processEvents();
    QCOMPARE(f.size(), f.minimumSize());

    const QRect window = f.rect();
    QList<QWidget*> controls;
    for (QWidget* w : f.toolBar->findChildren<QWidget*>())
        if (w->isVisibleTo(&f) && (qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w)))
            controls.append(w);
    controls << f.editors->keywordsEdit() << f.editors->headerEditor() << f.navigator->topicTabs
             << f.navigator->topicListPanel;
    QVERIFY(controls.size() > 20);
    for (QWidget* w : controls) {
        const QRect r(w->mapTo(&f, QPoint(0, 0)), w->size());
        QVERIFY2(window.contains(r), qPrintable(w->objectName()));
        QVERIFY2(w->width() >= w->minimumSizeHint().width(), qPrintable(w->objectName()));
    }
    QTextEdit* topic = f.editors->topicEditor();
    QVERIFY(topic->viewport()->height() >= 3 * topic->fontMetrics().lineSpacing());
    // Nothing lies over anything else: the captions, editors and status bar
    // each keep their own room, one below the other.
    const QList<QWidget*> column = {f.navigator->topicTabs, f.editors->nonScrollingCaption(), f.editors->headerEditor(),
                                    f.editors->topicAreaCaption(), topic, f.editors->keywordsCaption(),
                                    f.editors->keywordsEdit(), f.statusBar};
    for (qsizetype i = 1; i < column.size(); ++i) {
        const int above = column[i - 1]->mapTo(&f, QPoint(0, column[i - 1]->height())).y();
        QVERIFY2(column[i]->mapTo(&f, QPoint(0, 0)).y() >= above, qPrintable(column[i]->objectName()));
    }
    const QRect bar(f.progressBar->mapTo(&f, QPoint(0, 0)), f.progressBar->size());
    QVERIFY(window.contains(bar));
    // The status texts keep their room at this size: the result panel gives way.
    auto* activity = f.statusBar->findChild<QLabel*>(QStringLiteral("SBPanel1"));
    auto* third = f.statusBar->findChild<QLabel*>(QStringLiteral("SBPanel2"));
    f.statusBar->setPanelText(1, QStringLiteral("Spell Checking..."));
    QCoreApplication::processEvents();
    QVERIFY(activity->contentsRect().width() >= activity->fontMetrics().horizontalAdvance(activity->text()));
    QCOMPARE(f.progressBar->x(), third->mapTo(f.statusBar, QPoint(0, 0)).x());
    // A result longer than the room left is cut with "..." and shown whole as a tip.
    auto* result = f.statusBar->findChild<QLabel*>(QStringLiteral("SBPanel3"));
    const QString compiled = QStringLiteral("Compiled AVeryLongProjectName.HLP: 2049 topics, 12 warnings");
    f.statusBar->setPanelText(3, compiled);
    QCOMPARE(f.statusBar->panelText(3), compiled);
    QVERIFY(result->text().endsWith(QChar(0x2026)));
    QCOMPARE(result->toolTip(), compiled);
    f.resize(f.width() + 600, f.height());
    QCoreApplication::processEvents();
    QCOMPARE(result->text(), compiled);
    QCOMPARE(result->toolTip(), QString());
    // A long project name keeps its end in view and shows whole as a tip.
    auto* project = f.statusBar->findChild<QLabel*>(QStringLiteral("SBPanel0"));
    const QString named = QStringLiteral("Project: ") + QString(60, QLatin1Char('x')) + QStringLiteral("-end.tsp");
    f.statusBar->setPanelText(0, named);
    QCOMPARE(f.statusBar->panelText(0), named);
    QVERIFY(project->text().endsWith(QStringLiteral("-end.tsp")));
    QVERIFY(project->text().contains(QChar(0x2026)));
    QCOMPARE(project->toolTip(), named);
}

void LayoutTest::activityPanelHoldsEveryStatusText()
{
    MainWindowHarness h;
    h.show();
    auto* panel = h.form->statusBar->findChild<QLabel*>(QStringLiteral("SBPanel1"));
    QVERIFY(panel);
    for (const QString& text : {QStringLiteral("Spell Checking..."), QStringLiteral("Updating links..."),
                                QStringLiteral("Saving project..."), QStringLiteral("Compiling help file..."),
                                QStringLiteral("A much longer text than any command says today")}) {
        h.form->statusBar->setPanelText(1, text);
        QVERIFY2(panel->contentsRect().width() >= panel->fontMetrics().horizontalAdvance(text), qPrintable(text));
        // The progress bar still lies over the third panel, not over the text.
        QVERIFY(h.form->progressBar->x() >= panel->mapTo(h.form->statusBar, QPoint(panel->width(), 0)).x());
    }
}

void LayoutTest::insertionDialogsAreWideEnoughForTheirTexts()
{
    MainWindowHarness h;
    h.show();
    h.newProject(QStringLiteral("T"));
    MainWindow& f = *h.form;
    const auto textsFit = [](QDialog* d) {
        if (d->width() < d->fontMetrics().horizontalAdvance(d->windowTitle()) + 100)
            return false;
        for (const QAbstractButton* b : d->findChildren<QAbstractButton*>())
            if (b->isVisible() && b->width() < b->sizeHint().width())
                return false;
        for (const QLineEdit* e : d->findChildren<QLineEdit*>())
            if (e->isVisible() && e->width() < e->fontMetrics().averageCharWidth() * 30)
                return false;
        return true;
    };
    bool linkFits = false, webFits = false;
    QTimer::singleShot(0, &f, [&] {
        linkFits = textsFit(f.insertion->linkDialog);
        f.insertion->linkDialog->cancelButton()->click();
    });
    h.click(f.toolBar->button(f.actions->addTopicLink));
    QTimer::singleShot(0, &f, [&] {
        webFits = textsFit(f.insertion->buttonDialog);
        f.insertion->buttonDialog->cancelButton()->click();
    });
    h.click(f.toolBar->button(f.actions->addWebLink));
    QVERIFY(linkFits);
    QVERIFY(webFits);
}

QTEST_MAIN(LayoutTest)
#include "test_layout.moc"
