// Measured notes, not timed assertions: how long the window takes to open a
// full project and to switch between topics with long formatted text. The
// figures are printed; the checks are about what the window shows.

#include "test_mainwindow_support.h"

#include <QElapsedTimer>

using namespace ts;
using namespace ts::testing;

namespace {

// About `bytes` of text in paragraphs of plain, bold and coloured runs.
QByteArray formattedBody(int bytes, int seed)
{
    RichDocument doc;
    doc.Paragraphs.clear();
    int size = 0;
    for (int p = 0; size < bytes; ++p) {
        Paragraph para;
        para.Runs.clear();
        CharFormat plain;
        CharFormat bold = plain;
        bold.Bold = true;
        CharFormat red = plain;
        red.Colour = 0xC00000u;
        red.Size = 24;
        para.Runs.push_back({QStringLiteral("Paragraph %1 of topic %2 says something plain, ").arg(p).arg(seed), plain});
        para.Runs.push_back({QStringLiteral("then something bold, "), bold});
        para.Runs.push_back({QStringLiteral("and something red and larger."), red});
        if (p % 5 == 0)
            para.Align = Alignment::Center;
        for (const Run& r : para.Runs)
            size += int(r.Text.size());
        doc.Paragraphs.push_back(para);
    }
    return RtfWriter::write(doc);
}

void writeProject(const QString& path, int topics, int bytesPerTopic)
{
    Project p;
    for (int i = 0; i < topics; ++i) {
        TopicRecord t;
        t.TopicID.setText(QStringLiteral("TOPIC_%1").arg(i));
        t.Title.setText(QStringLiteral("Topic number %1").arg(i));
        t.HeaderRtf = formattedBody(80, i);
        t.BodyRtf = formattedBody(bytesPerTopic, i);
        QVERIFY(p.addTopic(t));
    }
    ProjectFile::save(p, path);
}

} // namespace

class MainWindowTimingTest : public QObject {
    Q_OBJECT

private slots:
    void openFullProject();
    void switchTopicsWithLongText();
};

void MainWindowTimingTest::openFullProject()
{
    MainWindowHarness h;
    const QString path = h.path(QStringLiteral("full.tsp"));
    // TOPICSMITH_TIMING_TOPIC_BYTES raises the text per topic for a manual
    // measurement (100 KB per topic makes a 300 MB project); the suite keeps
    // it small.
    const int bytesPerTopic = qEnvironmentVariableIntValue("TOPICSMITH_TIMING_TOPIC_BYTES");
    writeProject(path, Project::TopicSlots, bytesPerTopic > 0 ? bytesPerTopic : 2000);
    h.show();
    MainWindow& f = *h.form;

    QElapsedTimer clock;
    clock.start();
    f.projectCommands->setPendingOpenPath(path);
    f.projectCommands->openProject();
    const qint64 ms = clock.elapsed();
    qInfo("Opening %d topics (%lld KB): %lld ms", Project::TopicSlots,
          qint64(QFileInfo(path).size() / 1024), ms);

    QCOMPARE(f.navigator->topicTabs->count(), Project::TopicSlots);
    QCOMPARE(f.navigator->topicList->count(), Project::TopicSlots);
    QVERIFY(f.editors->topicEditor()->toPlainText().startsWith(QStringLiteral("Paragraph 0 of topic 0")));
}

void MainWindowTimingTest::switchTopicsWithLongText()
{
    MainWindowHarness h;
    const QString path = h.path(QStringLiteral("long.tsp"));
    writeProject(path, 4, 100 * 1024);
    h.show();
    MainWindow& f = *h.form;
    f.projectCommands->setPendingOpenPath(path);
    f.projectCommands->openProject();
    QCOMPARE(f.navigator->topicTabs->count(), 4);

    const int rounds = 12;
    qint64 total = 0;
    qint64 worst = 0;
    for (int k = 1; k <= rounds; ++k) {
        const int target = k % 4;
        QElapsedTimer clock;
        clock.start();
        h.clickTab(target);
        const qint64 ms = clock.elapsed();
        total += ms;
        worst = qMax(worst, ms);
        QCOMPARE(f.navigator->topicTabs->currentIndex(), target);
        QVERIFY(f.editors->topicEditor()->toPlainText().startsWith(QStringLiteral("Paragraph 0 of topic %1 ").arg(target)));
    }
    qInfo("Switching topics with %d KB of RTF per topic (store + load): mean %lld ms, worst %lld ms",
          int(f.project().topic(0).BodyRtf.size() / 1024), total / rounds, worst);
}

QTEST_MAIN(MainWindowTimingTest)
#include "test_mainwindow_timing.moc"
