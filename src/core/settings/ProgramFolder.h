#pragma once
// The program folder: where the settings file, the unnamed project
// "NoName.tsp" and the program's help live. A program run from its build
// folder keeps them beside itself; an installed one (whose folder may well be
// writable, as ~/.local/bin is) uses the per-user configuration folder; the
// environment variable TOPICSMITH_HOME overrides both. Always ends with '/'.

#include <QString>

namespace ts {

QString programFolder();

// Whether `folder` is a build folder of the program: CMake's cache lies in it
// or in the folder above (the tests' executables sit one level down).
bool isBuildFolder(const QString& folder);

} // namespace ts
