#pragma once
// A compiled HTML help file (.chm) from a published site: the same pages,
// plus the project (.hhp), contents (.hhc) and index (.hhk) files, compiled
// by chmcmd (Debian package fp-utils). [MAP] numbers go into the project's
// [MAP] and [ALIAS] sections, so that a program's context-help calls by
// number keep working.

#include "HtmlPublisher.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace ts::publish {

// The text of the three files for `site`; `baseName` names the .hhc, .hhk
// and .chm inside the project. ASCII only: anything else is a character
// reference, as help workshop files are read in the system's code page.
QByteArray chmProjectFile(const HtmlSite& site, const QString& baseName);
QByteArray chmContentsFile(const HtmlSite& site);
QByteArray chmIndexFile(const HtmlSite& site);

// The message when chmcmd is not installed.
QString chmCompilerMissingText();

// Writes `chmPath` from the site with chmcmd, whole or not at all; the
// compiler's own output goes to `compilerOutput`. Throws IoError naming the
// file, or the missing program and its package.
void writeChm(const HtmlSite& site, const QString& chmPath, QStringList* compilerOutput = nullptr);

} // namespace ts::publish
