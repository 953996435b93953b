#pragma once
// The contents file (.CNT) found beside a help file as the project's
// contents tree (.tsc).
//
// Books become headings, topic entries "title=ID[@file][>window]" with the
// Topic ID the import gave the topic, macro entries "title=!macro" (the .cnt
// the build writes passes them on as they are). An entry more than one
// level below the one before it moves up to the deepest level it can take.
// What the tree can not hold (:Base, :Link, :Index and :Include lines, a
// title the project would read differently) goes to the import log.

#include "HelpImportIds.h"
#include "HelpImportLog.h"
#include "contents/ContentsEntry.h"
#include "helpfile/HelpDocument.h"

namespace ts::helpimport {

// The tree for the document's contents file; empty when it has none.
// `mainCaption` is the caption the project's "main" window gets, which the
// build writes as the .cnt's title.
ContentsTree contentsFromHelp(const HelpDocument& document, const TopicNames& names, const QString& mainCaption,
                              ImportLog& log);

} // namespace ts::helpimport
