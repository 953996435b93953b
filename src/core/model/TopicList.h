#pragma once
// The extended topic list: one line per topic with its Topic ID, title and
// Application Call ID.

#include "Project.h"

#include <QStringList>

namespace ts {

// "ID : Title : Application Call ID: 10" or "ID : Title : No Application Call",
// in project order.
QStringList topicListLines(const Project& project);

inline const QString NothingToListText = QStringLiteral("Nothing to list yet!?");

} // namespace ts
