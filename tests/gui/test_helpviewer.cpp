// The help viewer on documents built here: regions and their colours,
// hotspots (jump, pop-up, picture areas, buttons), Back, History, secondary
// windows placed from 1/1024 units, Print, Copy, font size, the keyboard, the
// macros it refuses or does not support, and files it cannot open. The Help
// Topics dialog has its own test (test_helptopics).

#include "HelpDocumentSamples.h"
#include "ScriptedPrompter.h"
#include "viewer/HelpButtonBar.h"
#include "viewer/HelpPopup.h"
#include "viewer/HelpViewer.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace ts;
using namespace ts::testing;


class HelpViewerTest : public QObject {
    Q_OBJECT

private slots:
    void regionsColoursAndHotspotLooks();
    void jumpBackAndBrowse();
    void popupIsSmallAndCloses();
    void secondaryWindowFromItsDefinition();
    void autoSizedWindowStaysOnTheScreen();
    void macrosRefusedUnsupportedAndAddresses();
    void windowMacrosRefusedOnceAndCloseMain();
    void keyboardFollowsHotspots();
    void printCopyAndFontSize();
    void pictureAreasAndButtons();
    void openFileNamesAMissingOrForeignFile();
};

void HelpViewerTest::regionsColoursAndHotspotLooks()
{
    ScriptedPrompter prompter;
    HelpViewer viewer(prompter);
    viewer.openDocument(sampleDocument(), FilePath);
    HelpViewerWindow* main = viewer.mainWindow();
    QVERIFY(main);
    QVERIFY(QTest::qWaitForWindowExposed(main));
    QCOMPARE(main->windowTitle(), QStringLiteral("Demo Main Caption"));
    QStringList captions;
    for (const QString& id : main->buttonBar->ids())
        captions.append(main->buttonBar->button(id)->text());
    QCOMPARE(captions, (QStringList{QStringLiteral("&Contents"), QStringLiteral("&Index"), QStringLiteral("&Back"),
                                    QStringLiteral("&Print")}));
    QVERIFY(!main->buttonBar->button(QStringLiteral("btn_back"))->isEnabled());

    // The band sits above the text in its own colour and does not scroll.
    QVERIFY(main->nonScrollingView->isVisible());
    QCOMPARE(main->nonScrollingView->toPlainText(), QStringLiteral("Demo Contents"));
    QCOMPARE(main->nonScrollingView->palette().color(QPalette::Base), QColor(0xC0, 0xC0, 0xFF));
    QCOMPARE(main->scrollingView->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xE0));
    QVERIFY(main->nonScrollingView->geometry().bottom() < main->scrollingView->geometry().top());
    QCOMPARE(main->nonScrollingView->height(), main->nonScrollingView->fittedHeight());
    const QTextCharFormat title = main->nonScrollingView->document()->begin().begin().fragment().charFormat();
    QCOMPARE(title.fontPointSize(), 14.0);
    QCOMPARE(title.fontWeight(), int(QFont::Bold));
    QCOMPARE(title.foreground().color(), QColor(0x00, 0x00, 0x80));

    // Jumps green with a solid underline, pop-ups dotted, "%" hotspots as the text.
    const QTextCharFormat jump = formatOfAnchor(main->scrollingView, HelpAnchor::hotspotHref(0));
    const QTextCharFormat popup = formatOfAnchor(main->scrollingView, HelpAnchor::hotspotHref(1));
    const QTextCharFormat plain = formatOfAnchor(main->scrollingView, HelpAnchor::hotspotHref(3));
    QCOMPARE(jump.foreground().color(), QColor(0, 128, 0));
    QCOMPARE(jump.underlineStyle(), QTextCharFormat::SingleUnderline);
    QCOMPARE(popup.foreground().color(), QColor(0, 128, 0));
    QCOMPARE(popup.underlineStyle(), QTextCharFormat::DotLine);
    QCOMPARE(plain.foreground().color(), QColor(Qt::black));
    QCOMPARE(plain.underlineStyle(), QTextCharFormat::NoUnderline);
    QVERIFY(plain.isAnchor());

    // A topic without a band shows none.
    QVERIFY(viewer.showTopic(1));
    QVERIFY(!main->nonScrollingView->isVisible());
    QCOMPARE(main->scrollingView->toPlainText(), QStringLiteral("To print a topic, click Print."));
    QVERIFY(prompter.calls().empty());
}

void HelpViewerTest::jumpBackAndBrowse()
{
    ScriptedPrompter prompter;
    HelpViewer viewer(prompter);
    viewer.openDocument(sampleDocument(), FilePath);
    HelpViewerWindow* main = viewer.mainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(main));
    clickAnchor(main->scrollingView, HelpAnchor::hotspotHref(0));
    QCOMPARE(main->page.topic, 1);
    QPushButton* back = main->buttonBar->button(QStringLiteral("btn_back"));
    QVERIFY(back->isEnabled());

    // BrowseButtons adds << and >>, which follow the browse sequence.
    viewer.runMacros(QStringLiteral("BrowseButtons()"), main);
    QPushButton* next = main->buttonBar->button(QStringLiteral("btn_next"));
    QVERIFY(next && next->isEnabled());
    QVERIFY(!main->buttonBar->button(QStringLiteral("btn_previous"))->isEnabled());
    next->click(); // topic 3 has its own window
    HelpViewerWindow* sec = viewer.window(QStringLiteral("sec"));
    QVERIFY(sec);
    QCOMPARE(sec->page.topic, 3);
    QCOMPARE(main->page.topic, 1);

    back->click();
    QCOMPARE(main->page.topic, 0);
    QVERIFY(!back->isEnabled());
    // Backspace goes back too; History lists what was shown, newest first.
    viewer.showTopic(2, QString(), main);
    QTest::keyClick(main->scrollingView, Qt::Key_Backspace);
    QCOMPARE(main->page.topic, 0);
    QStringList titles;
    for (const HelpPage& page : viewer.history())
        titles.append(page.title);
    QCOMPARE(titles, (QStringList{QStringLiteral("Contents"), QStringLiteral("Definition"), QStringLiteral("Contents"),
                                  QStringLiteral("Setup"), QStringLiteral("Printing"), QStringLiteral("Contents")}));
    viewer.showHistory();
    QCOMPARE(viewer.historyDialog()->topicList()->topLevelItemCount(), 6);
    QVERIFY(prompter.calls().empty());
}

void HelpViewerTest::popupIsSmallAndCloses()
{
    ScriptedPrompter prompter;
    HelpViewer viewer(prompter);
    viewer.openDocument(sampleDocument(), FilePath);
    HelpViewerWindow* main = viewer.mainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(main));
    for (int closeBy = 0; closeBy < 2; ++closeBy) {
        clickAnchor(main->scrollingView, HelpAnchor::hotspotHref(1));
        HelpPopup* popup = viewer.popup();
        QVERIFY(popup);
        QVERIFY(popup->isVisible());
        QCOMPARE(main->page.topic, 0); // a pop-up is no jump
        QVERIFY(popup->windowFlags() & Qt::Popup);
        QCOMPARE(popup->view()->toPlainText(), QStringLiteral("A short definition."));
        // Sized to its text: narrower than the window, and one line high.
        QVERIFY(popup->width() < main->width() * 2 / 3);
        QVERIFY2(popup->height() < 60, qPrintable(QString::number(popup->height())));
        QCOMPARE(popup->view()->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xE0));
        QPointer<HelpPopup> guarded(popup);
        if (closeBy == 0)
            QTest::keyClick(popup->view(), Qt::Key_Escape);
        else
            QTest::mouseClick(popup->view()->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QTRY_VERIFY(!guarded || !guarded->isVisible());
    }
    // SetPopupColor colours the pop-ups that follow.
    viewer.runMacros(QStringLiteral("SPC(255, 255, 192)"), main);
    viewer.runMacros(QStringLiteral("PopupId(`', `definition')"), main);
    QVERIFY(viewer.popup());
    QCOMPARE(viewer.popup()->view()->palette().color(QPalette::Base), QColor(255, 255, 192));
    QVERIFY(prompter.calls().empty());
}

void HelpViewerTest::secondaryWindowFromItsDefinition()
{
    ScriptedPrompter prompter;
    HelpViewer viewer(prompter);
    viewer.openDocument(sampleDocument(), FilePath);
    viewer.runMacros(QStringLiteral("JumpId(`>sec', `printing')"), viewer.mainWindow());
    HelpViewerWindow* sec = viewer.window(QStringLiteral("sec"));
    QVERIFY(sec);
    QVERIFY(QTest::qWaitForWindowExposed(sec));
    QCOMPARE(sec->page.topic, 1);
    QCOMPARE(sec->windowTitle(), QStringLiteral("Side Notes"));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(sec->pos(), QPoint(screen.width() / 2, screen.height() / 4));
    QCOMPARE(sec->size(), QSize(screen.width() / 4, screen.height() / 2));
    QVERIFY(sec->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(sec->scrollingView->palette().color(QPalette::Base), QColor(0xE0, 0xFF, 0xE0));
    QVERIFY(sec->menuBar()->actions().isEmpty());
    QCOMPARE(sec->buttonBar->ids(), (QStringList{QStringLiteral("btn_contents"), QStringLiteral("btn_back")}));
    // Jumps from the secondary window stay in it.
    viewer.showTopic(2, QString(), sec);
    QCOMPARE(sec->page.topic, 2);
    QVERIFY(sec->buttonBar->button(QStringLiteral("btn_back"))->isEnabled());
    QCOMPARE(viewer.mainWindow()->page.topic, 0);

    viewer.runMacros(QStringLiteral("CloseSecondarys()"), viewer.mainWindow());
    QTRY_VERIFY(!viewer.window(QStringLiteral("sec")));
    QVERIFY(viewer.mainWindow());
    QVERIFY(prompter.calls().empty());
}

// An auto-size window grows to a long topic after it was placed: it grows
// upwards where the screen ends below it.
void HelpViewerTest::autoSizedWindowStaysOnTheScreen()
{
    HelpDocument doc = sampleDocument();
    doc.windows[1].flags |= HelpWindowDefinition::AutoSizeHeight;
    HelpTopicContent longTopic;
    for (int i = 0; i < 80; ++i)
        longTopic.scrolling.push_back(paragraph({text(QStringLiteral("Line %1 of a long topic.").arg(i))}));
    doc.setContent(2, longTopic);
    ScriptedPrompter prompter;
    HelpViewer viewer(prompter);
    viewer.openDocument(doc, FilePath);
    viewer.runMacros(QStringLiteral("JumpId(`>sec', `setup')"), viewer.mainWindow());
    HelpViewerWindow* sec = viewer.window(QStringLiteral("sec"));
    QVERIFY(sec);
    QVERIFY(QTest::qWaitForWindowExposed(sec));
    const int shortHeight = sec->height();
    const QRect room = sec->screen()->availableGeometry();

    viewer.showTopic(2, QString(), sec);
    QCOMPARE(sec->page.topic, 2);
    QVERIFY(sec->height() > room.height() / 2);
    QVERIFY(sec->height() > shortHeight);
    const QRect frame = sec->frameGeometry();
    QVERIFY2(room.contains(frame), qPrintable(QStringLiteral("%1,%2 %3x%4 on %5x%6").arg(frame.x()).arg(frame.y())
                                                  .arg(frame.width()).arg(frame.height()).arg(room.width()).arg(room.height())));
    QVERIFY(prompter.calls().empty());
}

void HelpViewerTest::macrosRefusedUnsupportedAndAddresses()
{
    HelpDocument doc = sampleDocument();
    doc.configMacros = {QStringLiteral("RegisterRoutine(`ftui32.dll', `ftSearch', `U=U')"),
                        QStringLiteral("AddAccelerator(0x41, 0, `Back()')"),
                        QStringLiteral("CreateButton(`btn_up', `&Up', `JumpId(`', `printing')')")};
    ScriptedPrompter prompter;
    QList<QUrl> opened;
    HelpViewer viewer(prompter);
    viewer.openUrl = [&](const QUrl& url) {
        opened.append(url);
        return true;
    };
    viewer.openDocument(doc, FilePath);
    HelpViewerWindow* main = viewer.mainWindow();
    QCOMPARE(prompter.messages(),
             QStringList{QStringLiteral("This help file asks to run ftSearch from the library ftui32.dll; "
                                        "Topicsmith does not run programs from help files.")});
    // The page went on; what is not supported is named on it.
    QCOMPARE(main->page.topic, 0);
    QCOMPARE(main->notice(), QStringLiteral("Not supported by this viewer: AddAccelerator"));
    QVERIFY(main->noticeLabel()->isVisible());

    // The button the file created runs its macro; a file may rebind and disable it.
    QPushButton* up = main->buttonBar->button(QStringLiteral("btn_up"));
    QVERIFY(up);
    up->click();
    QCOMPARE(main->page.topic, 1);
    viewer.runMacros(QStringLiteral("CBB(`btn_up', `JI(`', `definition')'):DisableButton(`btn_up')"), main);
    QVERIFY(!up->isEnabled());
    viewer.runMacros(QStringLiteral("EB(`btn_up')"), main);
    up->click();
    QCOMPARE(main->page.topic, 2);

    // A hotspot that would start a program is refused; a routine of the library too.
    prompter.reset();
    viewer.showTopic(0, QString(), main);
    clickAnchor(main->scrollingView, HelpAnchor::hotspotHref(2));
    viewer.runMacros(QStringLiteral("ftSearch(`x')"), main);
    QCOMPARE(prompter.messages(),
             (QStringList{QStringLiteral("This help file asks to run the program notepad.exe; "
                                         "Topicsmith does not run programs from help files."),
                          QStringLiteral("This help file asks to run ftSearch from the library ftui32.dll; "
                                         "Topicsmith does not run programs from help files.")}));
    QCOMPARE(main->page.topic, 0);

    // A web address is shown first and opened only when the user agrees.
    prompter.reset();
    prompter.answer(Prompter::Answer::No).answer(Prompter::Answer::Yes);
    viewer.runMacros(QStringLiteral("ExecFile(`http://example.com/help')"), main);
    viewer.runMacros(QStringLiteral("EF(`http://example.com/help')"), main);
    QCOMPARE(prompter.messages().size(), 2);
    QVERIFY(prompter.messages().at(0).contains(QStringLiteral("http://example.com/help")));
    QCOMPARE(opened, QList<QUrl>{QUrl(QStringLiteral("http://example.com/help"))});
    QCOMPARE(prompter.unusedScript(), 0);
}

// A window whose opening macros load a library and close the main window, as
// some files do: the refusal is told once, and the window stays.
void HelpViewerTest::windowMacrosRefusedOnceAndCloseMain()
{
    HelpDocument doc = sampleDocument();
    doc.windows[1].configMacros = {QStringLiteral("RR(`hlp95en.dll', `MsoCF', `I=SII'):CW(`main')")};
    ScriptedPrompter prompter;
    HelpViewer viewer(prompter);
    int closedAll = 0;
    connect(&viewer, &HelpViewer::allWindowsClosed, this, [&] { ++closedAll; });
    viewer.openDocument(doc, FilePath);
    viewer.runMacros(QStringLiteral("JI(`', `setup')"), viewer.mainWindow());
    QTRY_VERIFY(!viewer.mainWindow());
    HelpViewerWindow* sec = viewer.window(QStringLiteral("sec"));
    QVERIFY(sec && sec->isVisible());
    QCOMPARE(sec->page.topic, 3);
    QCOMPARE(closedAll, 0);
    sec->close();
    QTRY_COMPARE(closedAll, 1);
    viewer.showTopic(3);
    QVERIFY(viewer.window(QStringLiteral("sec")));
    QCOMPARE(prompter.messages(),
             QStringList{QStringLiteral("This help file asks to run MsoCF from the library hlp95en.dll; "
                                        "Topicsmith does not run programs from help files.")});
}

void HelpViewerTest::keyboardFollowsHotspots()
{
    ScriptedPrompter prompter;
    HelpViewer viewer(prompter);
    viewer.openDocument(sampleDocument(), FilePath);
    HelpViewerWindow* main = viewer.mainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(main));
    main->activateWindow();
    main->scrollingView->setFocus();
    // Tab reaches the first hotspot, Enter follows it.
    QTest::keyClick(main->scrollingView, Qt::Key_Tab);
    QCOMPARE(main->scrollingView->textCursor().charFormat().anchorHref(), HelpAnchor::hotspotHref(0));
    QTest::keyClick(main->scrollingView, Qt::Key_Return);
    QCOMPARE(main->page.topic, 1);
    QTest::keyClick(main->scrollingView, Qt::Key_Backspace);
    QCOMPARE(main->page.topic, 0);
    QVERIFY(prompter.calls().empty());
}

void HelpViewerTest::printCopyAndFontSize()
{
    ScriptedPrompter prompter;
    HelpViewer viewer(prompter);
    viewer.openDocument(sampleDocument(), FilePath);
    HelpViewerWindow* main = viewer.mainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(main));
    // Print hands the band and the text to the print dialog under the topic's title.
    prompter.printAnswer(true);
    main->buttonBar->button(QStringLiteral("btn_print"))->click();
    QCOMPARE(int(prompter.calls().size()), 1);
    QCOMPARE(prompter.calls()[0].kind, ScriptedPrompter::Kind::Print);
    QCOMPARE(prompter.calls()[0].text, QStringLiteral("Contents"));
    QVERIFY(prompter.calls()[0].document.startsWith(QStringLiteral("Demo Contents\nSee Printing and the definition.")));

    // Ctrl+C without a selection copies the whole topic; with one, the selection.
    main->activateWindow();
    main->scrollingView->setFocus();
    QApplication::clipboard()->clear();
    QTest::keyClick(main->scrollingView, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), viewer.document().topicText(0));
    QTextCursor cursor(main->scrollingView->document());
    cursor.setPosition(0);
    cursor.setPosition(3, QTextCursor::KeepAnchor);
    main->scrollingView->setTextCursor(cursor);
    QTest::keyClick(main->scrollingView, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("See"));

    // Options > Font > Large draws every region larger.
    QAction* large = main->fontSizeGroup->actions().at(2);
    QCOMPARE(large->text(), QStringLiteral("&Large"));
    large->trigger();
    const QTextCharFormat title = main->nonScrollingView->document()->begin().begin().fragment().charFormat();
    QCOMPARE(title.fontPointSize(), 14.0 * 1.25);
}

// A picture with a hotspot area on its right half, a {button}, and a
// transparent picture drawn on the window's colour.
void HelpViewerTest::pictureAreasAndButtons()
{
    HelpDocument doc = sampleDocument();
    HelpPicture picture;
    picture.format = HelpPicture::Format::Bitmap;
    picture.image.width = 40;
    picture.image.height = 20;
    picture.image.rgba = QByteArray(40 * 20 * 4, char(0));
    picture.transparent = true;
    HelpPictureHotspot area;
    area.area = QRect(20, 0, 20, 20);
    area.hotspot = hotspotTo(HelpHotspot::Kind::Jump, 1);
    picture.hotspots.push_back(area);
    doc.setPicture(7, picture);
    HelpRun image;
    image.kind = HelpRun::Kind::Picture;
    image.picture = 7;
    HelpRun button;
    button.kind = HelpRun::Kind::EmbeddedWindow;
    HelpEmbeddedWindow setupButton;
    setupButton.kind = HelpEmbeddedWindow::Kind::Button;
    setupButton.definition = QStringLiteral("!&Setup,JI(`', `setup')");
    setupButton.caption = QStringLiteral("&Setup");
    setupButton.macro = QStringLiteral("JI(`', `setup')");
    button.embedded = setupButton;
    HelpTopicContent content;
    content.scrolling = {paragraph({text(QStringLiteral("Look: ")), image, text(QStringLiteral(" then ")), button})};
    doc.setContent(2, content);

    ScriptedPrompter prompter;
    HelpViewer viewer(prompter);
    viewer.openDocument(doc, FilePath, QStringLiteral("definition"));
    HelpViewerWindow* main = viewer.mainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(main));
    QCOMPARE(main->page.topic, 2);
    const QString href = HelpAnchor::pictureHref(7, -1);
    const QPoint centre = anchorPoint(main->scrollingView, href);
    QVERIFY(centre.x() >= 0);
    QPoint offset;
    int left = centre.x();
    while (main->scrollingView->anchorAtPoint(QPoint(left - 1, centre.y()), &offset).kind == HelpAnchor::Kind::Picture)
        --left;
    // The left half is no hotspot; the right half jumps.
    QTest::mouseClick(main->scrollingView->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(left + 5, centre.y()));
    QCOMPARE(main->page.topic, 2);
    QTest::mouseClick(main->scrollingView->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(left + 30, centre.y()));
    QCOMPARE(main->page.topic, 1);
    main->buttonBar->button(QStringLiteral("btn_back"))->click();
    // The button runs its macro; it shows in the topic's own window.
    clickAnchor(main->scrollingView, HelpAnchor::macroHref(QStringLiteral("JI(`', `setup')")));
    QVERIFY(viewer.window(QStringLiteral("sec")));
    QCOMPARE(viewer.window(QStringLiteral("sec"))->page.topic, 3);
    QVERIFY(prompter.calls().empty());
}

void HelpViewerTest::openFileNamesAMissingOrForeignFile()
{
    QTemporaryDir folder;
    const QString missing = folder.filePath(QStringLiteral("Missing.HLP"));
    const QString foreign = folder.filePath(QStringLiteral("notes.hlp"));
    QFile file(foreign);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("This is plain text, not a help file.\n");
    file.close();
    ScriptedPrompter prompter;
    HelpViewer viewer(prompter);
    QVERIFY(!viewer.openFile(missing));
    QVERIFY(!viewer.openFile(foreign));
    const QStringList messages = prompter.messages();
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages.at(0), QStringLiteral("The help file %1 does not exist.").arg(QDir::toNativeSeparators(missing)));
    const QString notHelp = QStringLiteral("%1 is not a Windows help file").arg(QDir::toNativeSeparators(foreign));
    QVERIFY2(messages.at(1).startsWith(notHelp), qPrintable(messages.at(1)));
    QVERIFY(!viewer.mainWindow());
}

QTEST_MAIN(HelpViewerTest)
#include "test_helpviewer.moc"
