#pragma once
// The program folder: where the settings file, the unnamed project
// "NoName.tsp" and the program's help live. It is the executable's folder
// when that is writable, else the per-user configuration folder; the
// environment variable TOPICSMITH_HOME overrides both. Always ends with '/'.

#include <QString>

namespace ts {

QString programFolder();

} // namespace ts
