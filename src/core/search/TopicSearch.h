#pragma once
// Topic search: which topics hold a piece of text in their Topic ID, their
// title or their stored text. Reads the project as it is (the text blocks as
// last stored); changes nothing and never throws.
//
// A match is the query occurring anywhere inside the other text after both
// are upper-cased the way the program's 8-bit code page upper-cases them
// (SearchUpper). Text is searched paragraph by paragraph, the header's first
// and then the body's, so a match never spans a paragraph break.

#include "model/Project.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace ts {

// The choices of the search dialog's "Search by" group, in its order.
enum class SearchMode { TopicId = 0, TopicTitle = 1, TextInTopic = 2 };

// The range of the search's progress bar.
inline constexpr int SearchProgressMax = 2048;

// Upper case of Windows-1252 text: every letter whose capital is a
// Windows-1252 character too becomes that capital (a-z, the accented
// letters, š œ ž ÿ); ß, µ and the like stay as they are, so a text keeps
// its length. Characters outside the code page take their simple capital.
QString searchUpper(const QString& text);

// A stored text block as the editor shows it: one line per paragraph (a line
// break inside a paragraph also ends a line), hidden text included. An empty
// block has no lines.
QStringList topicTextLines(const QByteArray& rtf);

// How far the progress bar moves after each topic: SearchProgressMax divided
// by the number of topics, whole numbers only (0 without topics).
int searchStep(int topicCount);

// The indices of the matching topics in table order. After each topic,
// matching or not, `advanced` (when set) receives the bar's new position,
// (i + 1) * searchStep(TopicCount). An empty query matches nothing and
// reports nothing.
std::vector<int> searchTopics(const Project& project, const QString& query, SearchMode mode,
                              const std::function<void(int position)>& advanced = {});

} // namespace ts
