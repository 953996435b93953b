// The contents editor opened from the main window: reading and writing the
// contents file, the three kinds of drop, the boxes of the selected entry,
// Delete, OK's clean-up and Cancel, and OK while a rename's contents wait
// for the project's Save.

#include "test_mainwindow_support.h"

#include "ContentsDialog.h"
#include "SearchDialog.h"
#include "contents/ContentsFile.h"

#include <QMenu>
#include <QTreeWidget>

#include <functional>

using namespace ts;
using namespace ts::testing;

namespace {

// The main window with a project open whose windows are main and popwin and
// whose topics are T0 (on main) and T1 (on popwin), titled "Title 0" and
// "Title 1"; the contents file holds `contents` when it is not empty.
struct Editor {
    explicit Editor(const QByteArray& contents = QByteArray())
    {
        Project p;
        WindowRecord w = WindowRecord::defaultWindow();
        w.Name.setText(QStringLiteral("popwin"));
        p.addWindow(w);
        for (int i = 0; i < 2; ++i) {
            TopicRecord t;
            t.TopicID.setText(QStringLiteral("T%1").arg(i));
            t.Title.setText(QStringLiteral("Title %1").arg(i));
            t.WindowIndex = i;
            p.addTopic(t);
        }
        const QString path = h.path(QStringLiteral("cnt.tsp"));
        ProjectFile::save(p, path);
        if (!contents.isEmpty())
            MainWindowHarness::writeFile(contentsPath(), contents);
        h.show();
        h.form->projectCommands->setPendingOpenPath(path);
        h.form->projectCommands->openProject();
    }

    QString contentsPath() const { return h.path(QStringLiteral("cnt.tsc")); }
    QByteArray contents() const { return MainWindowHarness::readFile(contentsPath()); }
    ContentsDialog* d() const { return h.form->tools->contentsDialog; }

    // Opens the editor from the toolbar and runs `script` while it is shown;
    // a dialog the script leaves open is closed without saving and
    // `stayedOpen` is set.
    void run(const std::function<void(ContentsDialog*)>& script)
    {
        ran = false;
        stayedOpen = false;
        QTimer::singleShot(0, h.form.get(), [this, script] {
            ContentsDialog* dialog = d();
            if (!dialog->isVisible())
                return;
            ran = true;
            dialog->activateWindow();
            QApplication::setActiveWindow(dialog);
            script(dialog);
            if (dialog->isVisible()) {
                stayedOpen = true;
                dialog->done(QDialog::Rejected);
            }
        });
        h.click(h.form->toolBar->button(h.form->actions->contentsEditor));
        QVERIFY(ran);
    }

    static void focus(QWidget* w)
    {
        w->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
    }

    static void type(QLineEdit* edit, const QString& text)
    {
        focus(edit);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    MainWindowHarness h;
    bool ran = false;
    bool stayedOpen = false;
};

// "level text" of every entry, in pre-order.
QStringList shape(const ContentsTree& tree)
{
    QStringList out;
    for (const ContentsNode& n : contentsNodes(tree))
        out << QString::number(n.Level) + QLatin1Char(' ') + n.Entry->Text;
    return out;
}

} // namespace

class ContentsDialogTest : public QObject {
    Q_OBJECT

private slots:
    void paletteTopicWithoutIdIsRemovedAtOk();
    void topicDropsTakeTheLevelOrThePopupChoice();
    void windowBoxSuffixIsCaseSensitive();
    void leavingAnEditedEntryAppliesTheBoxesFirst();
    void moveKeepsSubEntriesAndExpandSetsTheIcon();
    void deletingEverythingAndOkDeletesTheFile();
    void cancelAsksAndWritesNothing();
    void searchSelectsTheFoundTopic();
    void invalidLevelsAreNamedAndWrittenOnlyOnOk();
    void typedTextTheFileCannotKeepIsRefused();
    void unreadableFileIsReplacedOnlyWhenConfirmed();
    void keyboardAddsAndMovesEntries();
    void treeOpensWholeAndANewTitleIsReadyToType();
    void okKeepsTheEntriesWaitingWithARename();
};

void ContentsDialogTest::paletteTopicWithoutIdIsRemovedAtOk()
{
    Editor e;
    e.run([&](ContentsDialog* d) {
        QVERIFY(d->contentsTree()->topLevelItemCount() == 0);
        QVERIFY(!d->titleEdit()->isEnabled());
        QCOMPARE(d->topicList()->count(), 2);
        QCOMPARE(d->topicList()->item(1)->text(), QStringLiteral("T1 - Title 1"));
        QCOMPARE(d->windowCombo()->itemText(1), QStringLiteral("popwin"));

        d->dropPaletteItem(ContentsDialog::PaletteTopic, nullptr);
        QCOMPARE(d->contentsTree()->currentItem()->text(0), QStringLiteral("Type in the title"));
        QVERIFY(d->topicIdEdit()->isEnabled());
        QVERIFY(!d->windowCombo()->isEnabled());
        d->dropPaletteItem(ContentsDialog::PaletteHeading, d->contentsTree()->topLevelItem(0));
        QVERIFY(!d->topicIdEdit()->isEnabled());
        QTest::mouseClick(d->okButton(), Qt::LeftButton);
    });
    QVERIFY(!e.stayedOpen);
    QCOMPARE(e.h.prompter.messages(), QStringList{QStringLiteral("Some topics did not have a Topic ID and have been removed.")});
    QCOMPARE(e.contents(), QByteArray("Type in the title\r\n"));
}

void ContentsDialogTest::topicDropsTakeTheLevelOrThePopupChoice()
{
    Editor e("H\r\n\ta=A\r\n\tb=B\r\nlast=L\r\n");
    e.run([&](ContentsDialog* d) {
        QCOMPARE(shape(d->tree()).size(), 4);
        // On a topic entry that is a first child: after the heading's last child.
        d->dropTopic(1, d->itemAt({0, 0}));
        QCOMPARE(d->contentsTree()->currentItem(), d->itemAt({0, 2}));
        QCOMPARE(d->titleEdit()->text(), QStringLiteral("Title 1"));
        QCOMPARE(d->topicIdEdit()->text(), QStringLiteral("T1"));
        QCOMPARE(d->windowCombo()->currentText(), QStringLiteral("popwin"));

        // On a heading the popup decides; Cancel adds nothing.
        d->dropTopic(0, d->itemAt({0}), ContentsDialog::DropChoice::Cancel);
        QCOMPARE(shape(d->tree()).size(), 5);
        d->dropTopic(0, d->itemAt({0}), ContentsDialog::DropChoice::OnThisLevel);
        d->dropPaletteItem(ContentsDialog::PaletteHeading, d->itemAt({0}), ContentsDialog::DropChoice::AsChild);
        QVERIFY(d->itemAt({0})->isExpanded());

        // A drop reported by the tree: the popup menu for topics is asked.
        QMenu* asked = nullptr;
        d->askPlacement = [&](QMenu* menu, const QPoint&) {
            asked = menu;
            return ContentsDialog::DropChoice::AsChild;
        };
        d->topicList()->setCurrentRow(0);
        emit d->contentsTree()->dropped(d->topicList(), d->contentsTree()->visualItemRect(d->itemAt({0})).center());
        QTRY_VERIFY(asked == d->topicDropMenu());
        QTest::mouseClick(d->okButton(), Qt::LeftButton);
    });
    QVERIFY(!e.stayedOpen);
    QCOMPARE(e.h.prompter.messages(), QStringList());
    QCOMPARE(e.contents(), QByteArray("H\r\n\ta=A\r\n\tb=B\r\n\tTitle 1=T1>popwin\r\n\tType in the title\r\n"
                                      "\tTitle 0=T0\r\nlast=L\r\nTitle 0=T0\r\n"));
}

void ContentsDialogTest::windowBoxSuffixIsCaseSensitive()
{
    Editor e("a=A\r\nb=B>popwin\r\n");
    e.run([&](ContentsDialog* d) {
        d->contentsTree()->setCurrentItem(d->itemAt({0}));
        QCOMPARE(d->windowCombo()->currentText(), QStringLiteral("main"));
        Editor::focus(d->windowCombo());
        d->windowCombo()->setEditText(QStringLiteral("Main"));
        Editor::focus(d->titleEdit());
        QCOMPARE(d->itemAt({0})->text(0), QStringLiteral("a=A>Main"));

        d->contentsTree()->setCurrentItem(d->itemAt({1}));
        Editor::focus(d->windowCombo());
        d->windowCombo()->setEditText(QStringLiteral("main"));
        Editor::focus(d->helpFileEdit());
        QCOMPARE(d->itemAt({1})->text(0), QStringLiteral("b=B"));
        // Enter in a box updates and keeps the dialog open.
        QTest::keyClicks(d->helpFileEdit(), QStringLiteral("other.hlp"));
        QTest::keyClick(d->helpFileEdit(), Qt::Key_Return);
        QVERIFY(d->isVisible());
        QCOMPARE(d->itemAt({1})->text(0), QStringLiteral("b=B@other.hlp"));
    });
    QVERIFY(e.stayedOpen);
}

void ContentsDialogTest::leavingAnEditedEntryAppliesTheBoxesFirst()
{
    Editor e("H\r\n\tx=X>popwin\r\n");
    e.run([&](ContentsDialog* d) {
        d->contentsTree()->setCurrentItem(d->itemAt({0, 0}));
        Editor::type(d->topicIdEdit(), QStringLiteral("NEWID"));
        // The selection moves while the focus stays in the box.
        d->contentsTree()->setCurrentItem(d->itemAt({0}));
        QCOMPARE(d->tree()[0].Children[0].Text, QStringLiteral("x=NEWID>popwin"));
        QCOMPARE(d->titleEdit()->text(), QStringLiteral("H"));
        QVERIFY(!d->topicIdEdit()->isEnabled());
        QVERIFY(d->topicIdEdit()->text().isEmpty());

        // A heading whose title gets "=" stays a heading while the dialog is open.
        Editor::type(d->titleEdit(), QStringLiteral("A=B"));
        QTest::mouseClick(d->okButton(), Qt::LeftButton);
    });
    QVERIFY(!e.stayedOpen);
    QCOMPARE(e.contents(), QByteArray("A=B\r\n\tx=NEWID>popwin\r\n"));
}

void ContentsDialogTest::moveKeepsSubEntriesAndExpandSetsTheIcon()
{
    Editor e("H1\r\n\ta=A\r\nH2\r\n\tb=B\r\n");
    e.run([&](ContentsDialog* d) {
        // Onto its own sub-entry: nothing.
        d->moveEntry(d->itemAt({0}), d->itemAt({0, 0}));
        QCOMPARE(d->tree().size(), size_t(2));
        d->moveEntry(d->itemAt({0}), d->itemAt({1, 0}));
        QCOMPARE(shape(d->tree()), (QStringList{QStringLiteral("0 H2"), QStringLiteral("1 H1"), QStringLiteral("2 a=A"),
                                                QStringLiteral("1 b=B")}));
        QCOMPARE(d->contentsTree()->currentItem(), d->itemAt({0, 0}));
        QCOMPARE(d->titleEdit()->text(), QStringLiteral("H1"));

        // The moved entry is shown: its new heading opened.
        QTreeWidgetItem* h2 = d->itemAt({0});
        QVERIFY(h2->isExpanded());
        QCOMPARE(h2->data(0, ContentsDialog::IconRole).toInt(), 0);
        // What a double-click on the entry does.
        d->contentsTree()->collapseItem(h2);
        QCOMPARE(h2->data(0, ContentsDialog::IconRole).toInt(), 2);
        QVERIFY(!d->tree()[0].Expanded);
        d->contentsTree()->expandItem(h2);
        QCOMPARE(h2->data(0, ContentsDialog::IconRole).toInt(), 0);
        QVERIFY(d->tree()[0].Expanded);
    });
    QVERIFY(e.stayedOpen);
}

void ContentsDialogTest::deletingEverythingAndOkDeletesTheFile()
{
    Editor e("H\r\n\ta=A\r\nb=B\r\n");
    e.h.prompter.answer(Prompter::Answer::No).answer(Prompter::Answer::Yes).answer(Prompter::Answer::Yes);
    e.run([&](ContentsDialog* d) {
        d->contentsTree()->setCurrentItem(d->itemAt({0}));
        Editor::focus(d->contentsTree());
        QTest::keyClick(d->contentsTree(), Qt::Key_Delete); // No
        QCOMPARE(d->tree().size(), size_t(2));
        QTest::keyClick(d->contentsTree(), Qt::Key_Delete); // Yes: the heading with its child
        QCOMPARE(shape(d->tree()), QStringList{QStringLiteral("0 b=B")});
        QCOMPARE(d->topicIdEdit()->text(), QStringLiteral("B"));
        d->deleteEntry();
        QVERIFY(!d->titleEdit()->isEnabled());
        d->deleteEntry(); // nothing selected: no question
        QTest::mouseClick(d->okButton(), Qt::LeftButton);
    });
    QVERIFY(!e.stayedOpen);
    const auto& calls = e.h.prompter.calls();
    QCOMPARE(calls.size(), size_t(3));
    QCOMPARE(calls[0].text, QStringLiteral("You are about to delete the selected heading. All its entries will be "
                                           "deleted too.\rAre you sure?"));
    QCOMPARE(calls[0].caption, QStringLiteral("Delete Heading"));
    QCOMPARE(calls[2].text, QStringLiteral("You are about to delete the selected topic from the contents file.\rAre you sure?"));
    QCOMPARE(calls[2].caption, QStringLiteral("Delete Topic"));
    QCOMPARE(calls[2].icon, Prompter::Icon::Question);
    QVERIFY(!QFile::exists(e.contentsPath()));
}

void ContentsDialogTest::cancelAsksAndWritesNothing()
{
    Editor e("a=A\r\n");
    e.h.prompter.answer(Prompter::Answer::No).answer(Prompter::Answer::Yes);
    e.run([&](ContentsDialog* d) {
        d->dropPaletteItem(ContentsDialog::PaletteHeading, nullptr);
        QTest::mouseClick(d->cancelButton(), Qt::LeftButton);
        QVERIFY(d->isVisible());
        QTest::keyClick(d, Qt::Key_Escape);
    });
    QVERIFY(!e.stayedOpen);
    QCOMPARE(e.h.prompter.messages(),
             (QStringList{QStringLiteral("Changes will not be saved.\rAre you sure?"),
                          QStringLiteral("Changes will not be saved.\rAre you sure?")}));
    QCOMPARE(e.contents(), QByteArray("a=A\r\n"));
    // The next opening reads the file again.
    e.run([&](ContentsDialog* d) { QCOMPARE(shape(d->tree()), QStringList{QStringLiteral("0 a=A")}); });
}

void ContentsDialogTest::searchSelectsTheFoundTopic()
{
    Editor e;
    e.run([&](ContentsDialog* d) {
        QTimer::singleShot(0, d, [&] {
            SearchDialog* s = e.h.form->tools->searchDialog;
            s->queryEdit()->setText(QStringLiteral("T1"));
            s->setSearchMode(0);
            s->search();
            s->resultList()->setCurrentItem(s->resultList()->topLevelItem(0));
            s->pickResult();
        });
        d->searchTopic();
        QCOMPARE(d->topicList()->currentRow(), 1);
    });
}

void ContentsDialogTest::invalidLevelsAreNamedAndWrittenOnlyOnOk()
{
    const QByteArray broken("A=A\r\n\tB\r\n\t\t\tDeep=B\r\n\t\tC=C\r\n");
    Editor e(broken);
    const QStringList repaired{QStringLiteral("0 A=A"), QStringLiteral("1 B"), QStringLiteral("2 Deep=B"),
                               QStringLiteral("2 C=C")};
    // Cancel (and its question) leaves the file as it is.
    e.h.prompter.answer(Prompter::Answer::Ok).answer(Prompter::Answer::Yes);
    e.run([&](ContentsDialog* d) {
        QCOMPARE(shape(d->tree()), repaired);
        QTest::mouseClick(d->cancelButton(), Qt::LeftButton);
    });
    const QString message = e.h.prompter.messages().first();
    QVERIFY2(message.contains(QStringLiteral("Line 3 'Deep=B' had an invalid level and was moved to level 2")),
             qPrintable(message));
    QVERIFY(message.contains(e.contentsPath()));
    QCOMPARE(e.contents(), broken);

    e.h.prompter.answer(Prompter::Answer::Ok);
    e.run([&](ContentsDialog* d) { QTest::mouseClick(d->okButton(), Qt::LeftButton); });
    QVERIFY(!e.stayedOpen);
    QCOMPARE(e.contents(), QByteArray("A=A\r\n\tB\r\n\t\tDeep=B\r\n\t\tC=C\r\n"));
}

void ContentsDialogTest::typedTextTheFileCannotKeepIsRefused()
{
    Editor e("H\r\n\tx=X\r\n");
    e.h.prompter.answer(Prompter::Answer::Ok).answer(Prompter::Answer::Ok);
    e.run([&](ContentsDialog* d) {
        // A heading that is only Ctrl-Z, a title that starts with a blank.
        d->contentsTree()->setCurrentItem(d->itemAt({0}));
        Editor::focus(d->titleEdit());
        d->titleEdit()->setText(QString(QChar(26)));
        d->contentsTree()->setCurrentItem(d->itemAt({0, 0}));
        QCOMPARE(d->tree()[0].Text, QStringLiteral("H"));
        Editor::type(d->titleEdit(), QStringLiteral(" x"));
        QTest::mouseClick(d->okButton(), Qt::LeftButton);
    });
    // OK applied the box first; its refusal keeps the dialog open.
    QVERIFY(e.stayedOpen);
    QCOMPARE(e.h.prompter.messages().size(), 2);
    QVERIFY(e.h.prompter.messages()[0].contains(QStringLiteral("Ctrl-Z")));
    QVERIFY(e.h.prompter.messages()[1].contains(QStringLiteral("blank")));
    QCOMPARE(e.contents(), QByteArray("H\r\n\tx=X\r\n"));
}

void ContentsDialogTest::unreadableFileIsReplacedOnlyWhenConfirmed()
{
    Editor e("Keep=ME\r\n");
    {
        QFile big(e.contentsPath());
        QVERIFY(big.resize(ContentsFile::MaxFileSize + 1));
    }
    // After the read error, OK asks; Cancel there writes nothing.
    e.h.prompter.answer(Prompter::Answer::Cancel);
    e.run([&](ContentsDialog* d) {
        QVERIFY(d->tree().empty());
        QTest::mouseClick(d->okButton(), Qt::LeftButton);
    });
    QVERIFY(e.stayedOpen);
    QVERIFY2(e.h.prompter.messages()[0].startsWith(QStringLiteral("Cannot read '") + e.contentsPath()),
             qPrintable(e.h.prompter.messages()[0]));
    QCOMPARE(e.h.prompter.messages()[1],
             QStringLiteral("'%1' could not be read when the contents editor opened.\r"
                            "Replace it with the contents shown here?")
                 .arg(e.contentsPath()));
    QCOMPARE(QFileInfo(e.contentsPath()).size(), ContentsFile::MaxFileSize + 1);
    QVERIFY(e.contents().startsWith("Keep=ME\r\n"));

    // Confirmed, the (empty) contents replace it.
    e.h.prompter.answer(Prompter::Answer::Ok);
    e.run([&](ContentsDialog* d) { QTest::mouseClick(d->okButton(), Qt::LeftButton); });
    QVERIFY(!e.stayedOpen);
    QVERIFY(!QFile::exists(e.contentsPath()));
}

void ContentsDialogTest::keyboardAddsAndMovesEntries()
{
    Editor e("H\r\n\ta=A\r\nlast=L\r\n");
    e.run([&](ContentsDialog* d) {
        QMenu* asked = nullptr;
        d->askPlacement = [&](QMenu* menu, const QPoint&) {
            asked = menu;
            return ContentsDialog::DropChoice::AsChild;
        };
        // Enter on a topic with the heading current: the popup asks, the
        // topic becomes its child; the dialog stays open.
        d->contentsTree()->setCurrentItem(d->itemAt({0}));
        Editor::focus(d->topicList());
        d->topicList()->setCurrentRow(1);
        QTest::keyClick(d->topicList(), Qt::Key_Return);
        QCOMPARE(asked, d->topicDropMenu());
        QVERIFY(d->isVisible());
        QCOMPARE(d->contentsTree()->currentItem(), d->itemAt({0, 1}));

        // Enter on the palette's Heading with a topic entry current: no question.
        asked = nullptr;
        d->contentsTree()->setCurrentItem(d->itemAt({1}));
        Editor::focus(d->paletteTree());
        d->paletteTree()->setCurrentItem(d->paletteTree()->topLevelItem(ContentsDialog::PaletteHeading));
        QTest::keyClick(d->paletteTree(), Qt::Key_Return);
        QVERIFY(!asked);
        QCOMPARE(d->contentsTree()->currentItem(), d->itemAt({2}));

        // Ctrl+Up and Ctrl+Down move the current entry among its siblings,
        // sub-entries with it, and it stays current; at either end nothing moves.
        Editor::focus(d->contentsTree());
        d->contentsTree()->setCurrentItem(d->itemAt({0}));
        QTest::keyClick(d->contentsTree(), Qt::Key_Up, Qt::ControlModifier);
        QTest::keyClick(d->contentsTree(), Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(d->contentsTree()->currentItem(), d->itemAt({1}));
        d->contentsTree()->setCurrentItem(d->itemAt({2}));
        QTest::keyClick(d->contentsTree(), Qt::Key_Up, Qt::ControlModifier);
        QTest::keyClick(d->contentsTree(), Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(d->contentsTree()->currentItem(), d->itemAt({0}));
        QCOMPARE(shape(d->tree()), (QStringList{QStringLiteral("0 Type in the title"), QStringLiteral("0 last=L"),
                                                QStringLiteral("0 H"), QStringLiteral("1 a=A"),
                                                QStringLiteral("1 Title 1=T1>popwin")}));

        // Ctrl+Right puts the entry into the heading above it, Ctrl+Left
        // takes it out to just after that heading; a topic above takes
        // nothing in, and a top-level entry goes no higher.
        d->contentsTree()->setCurrentItem(d->itemAt({1}));
        QTest::keyClick(d->contentsTree(), Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(d->contentsTree()->currentItem(), d->itemAt({0, 0}));
        QCOMPARE(shape(d->tree()).mid(0, 3), (QStringList{QStringLiteral("0 Type in the title"),
                                                          QStringLiteral("1 last=L"), QStringLiteral("0 H")}));
        QTest::keyClick(d->contentsTree(), Qt::Key_Left, Qt::ControlModifier);
        QTest::keyClick(d->contentsTree(), Qt::Key_Left, Qt::ControlModifier);
        QCOMPARE(d->contentsTree()->currentItem(), d->itemAt({1}));
        d->contentsTree()->setCurrentItem(d->itemAt({2, 1}));
        QTest::keyClick(d->contentsTree(), Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(shape(d->tree()), (QStringList{QStringLiteral("0 Type in the title"), QStringLiteral("0 last=L"),
                                                QStringLiteral("0 H"), QStringLiteral("1 a=A"),
                                                QStringLiteral("1 Title 1=T1>popwin")}));
    });
    QVERIFY(e.stayedOpen);
}

// The tree opens with its headings open; a new entry's placeholder title is
// selected in the focused Title box; the drop menus say what they do.
void ContentsDialogTest::treeOpensWholeAndANewTitleIsReadyToType()
{
    Editor e("H1\r\n\ta=A\r\n\tH2\r\n\t\tc=C\r\nb=B\r\n");
    e.run([&](ContentsDialog* d) {
        for (const ContentsPath& heading : {ContentsPath{0}, ContentsPath{0, 1}}) {
            QVERIFY(d->itemAt(heading)->isExpanded());
            QCOMPARE(d->itemAt(heading)->data(0, ContentsDialog::IconRole).toInt(), 0);
        }
        for (QMenu* menu : {d->headingDropMenu(), d->topicDropMenu()}) {
            QStringList captions;
            for (QAction* a : menu->actions())
                captions << a->text();
            QCOMPARE(captions, (QStringList{QStringLiteral("Insert as &Child of Heading"),
                                            QStringLiteral("Insert at This &Level"), QStringLiteral("&Cancel")}));
        }

        d->dropPaletteItem(ContentsDialog::PaletteHeading, d->itemAt({1}));
        QCOMPARE(d->focusWidget(), d->titleEdit());
        QCOMPARE(d->titleEdit()->selectedText(), QStringLiteral("Type in the title"));
        QTest::keyClicks(d->titleEdit(), QStringLiteral("Appendix"));
        QTest::keyClick(d->titleEdit(), Qt::Key_Return);
        QCOMPARE(d->itemAt({2})->text(0), QStringLiteral("Appendix"));
        // A cancelled placement leaves the focus where it was.
        d->contentsTree()->setFocus();
        d->dropPaletteItem(ContentsDialog::PaletteTopic, d->itemAt({0}), ContentsDialog::DropChoice::Cancel);
        QCOMPARE(d->focusWidget(), d->contentsTree());
    });
    QVERIFY(e.stayedOpen);
}

// After a rename the contents wait for the project's Save; the editor shows
// them, and its OK adds to them instead of writing the file, so that the file
// still goes with the project file as saved.
void ContentsDialogTest::okKeepsTheEntriesWaitingWithARename()
{
    const QByteArray before("H\r\n\ta=T0\r\nb=T1\r\n");
    Editor e(before);
    MainWindow& f = *e.h.form;
    const auto changed = [&f] { return f.windowHandle()->title().startsWith(QStringLiteral("cnt.tsp*")); };
    const auto renameAndEdit = [&] {
        e.h.onTopicDialog({QStringLiteral("FIRST"), {}, {}, {}});
        e.h.click(f.toolBar->button(f.actions->topicProperties));
        e.run([&](ContentsDialog* d) {
            QCOMPARE(shape(d->tree()), (QStringList{QStringLiteral("0 H"), QStringLiteral("1 a=FIRST"), QStringLiteral("0 b=T1")}));
            d->contentsTree()->setCurrentItem(d->itemAt({1}));
            Editor::type(d->titleEdit(), QStringLiteral("Second"));
            QTest::mouseClick(d->okButton(), Qt::LeftButton);
        });
        QVERIFY(!e.stayedOpen);
        QCOMPARE(e.contents(), before);
        QVERIFY(changed());
    };
    renameAndEdit();
    // Reopened without saving: the file is byte for byte as before.
    e.h.prompter.answer(Prompter::Answer::No);
    e.h.form->projectCommands->setPendingOpenPath(e.h.path(QStringLiteral("cnt.tsp")));
    e.h.form->projectCommands->openProject();
    QCOMPARE(f.project().topic(0).TopicID.text(), QStringLiteral("T0"));
    QCOMPARE(e.contents(), before);

    renameAndEdit();
    f.actions->saveProject->trigger();
    QCOMPARE(e.contents(), QByteArray("H\r\n\ta=FIRST\r\nSecond=T1\r\n"));
    QVERIFY(!changed());

    // Every entry deleted while a rename waits: the project has no contents
    // from then on. Save As keeps a contents file under the new name as the
    // user answers and leaves the old one; Save deletes the project's own.
    const auto renameAndDeleteAll = [&](const QString& id) {
        e.h.onTopicDialog({id, {}, {}, {}});
        e.h.click(f.toolBar->button(f.actions->topicProperties));
        e.run([&](ContentsDialog* d) {
            while (!d->tree().empty()) {
                e.h.prompter.answer(Prompter::Answer::Yes);
                d->contentsTree()->setCurrentItem(d->itemAt({0}));
                d->deleteEntry();
            }
            QTest::mouseClick(d->okButton(), Qt::LeftButton);
        });
        QVERIFY(!e.stayedOpen);
    };
    renameAndDeleteAll(QStringLiteral("THIRD"));
    const QString copy = e.h.path(QStringLiteral("copy.tsc"));
    MainWindowHarness::writeFile(copy, "Kept=THIRD\r\n");
    e.h.prompter.path(e.h.path(QStringLiteral("copy.tsp"))).answer(Prompter::Answer::Yes);
    f.actions->saveProjectAs->trigger();
    QVERIFY(e.h.prompter.lastMessage().contains(QStringLiteral("Keep it as the contents of the renamed project?")));
    QCOMPARE(MainWindowHarness::readFile(copy), QByteArray("Kept=THIRD\r\n"));
    QCOMPARE(e.contents(), QByteArray("H\r\n\ta=FIRST\r\nSecond=T1\r\n"));

    renameAndDeleteAll(QStringLiteral("FOURTH"));
    QVERIFY(QFile::exists(copy));
    f.actions->saveProject->trigger();
    QVERIFY(!QFile::exists(copy));
    QVERIFY(!e.h.prompter.unexpectedCall());
}

QTEST_MAIN(ContentsDialogTest)
#include "test_contentsdialog.moc"
