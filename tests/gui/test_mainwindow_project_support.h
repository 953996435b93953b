#pragma once
// What the project command tests share: Save As and Open through the
// scripted dialogs, and reading back what was saved.

#include "test_mainwindow_support.h"

#include "RichTextAdapter.h"

namespace ts::testing {

inline const QString ProjectFilter = QStringLiteral("Topicsmith Project (*.tsp)|*.TSP");

// Saves the unnamed project of `h` as `path` (Save turns into Save As).
inline void saveAs(MainWindowHarness& h, const QString& path)
{
    h.prompter.path(path);
    h.click(h.form->toolBar->button(h.form->actions->saveProject));
}

inline void openByDialog(MainWindowHarness& h, const QString& path, bool askSave = true)
{
    h.prompter.path(path);
    if (askSave)
        h.prompter.answer(Prompter::Answer::No);
    h.click(h.form->toolBar->button(h.form->actions->openProject));
}

inline Project loadProject(const QString& path)
{
    return ProjectFile::load(path);
}

inline QString storedBody(const Project& p, int i)
{
    QTextEdit editor;
    loadEditorRtf(editor, p.topic(i).BodyRtf);
    return editor.toPlainText();
}

} // namespace ts::testing
