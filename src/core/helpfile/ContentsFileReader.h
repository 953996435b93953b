#pragma once
// The contents file (.CNT) that lies beside a help file: a text file of
// headings ("1 Book"), topics ("2 Entry=TopicID@file>window"), macros
// ("2 Entry=!Macro()") and the commands :Base, :Title, :Index, :Link and
// :Include.

#include "ReadProblems.h"

#include <QByteArray>
#include <QString>

namespace ts::helpfile::reading {

// Parses the bytes of a contents file. Lines it cannot read are problems.
HelpContents parseContentsFile(const QByteArray& bytes, int codePage, ReadProblems& problems);

// Finds the contents file for the help file at `helpPath` (named by the help
// file, else its base name + .cnt, either without regard to case), reads it
// and the files it includes (each once), and returns it; `path` stays empty
// when there is none.
HelpContents readContentsBeside(const QString& helpPath, const QString& namedFile, int codePage,
                                std::vector<HelpProblem>& problems);

} // namespace ts::helpfile::reading
