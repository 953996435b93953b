#pragma once
// What a build command reports as it works, for the status bar and the
// progress bar of the GUI or the lines of `topicsmith --build`: the writers
// of the help sources and the built-in help compiler take one of these, and
// a member left empty is not called.

#include "Progress.h"

#include <QString>
#include <functional>

namespace ts {

struct BuildFeedback {
    // The activity text for the status bar as each writer starts (each
    // writer's StatusText), and an empty text when it has finished; the
    // progress bar goes back to 0 with every call.
    std::function<void(const QString& text)> Status;
    // Each advance of the progress bar, as the writers make them.
    ProgressStep Progress;
    // The path of every file as soon as it has been written.
    std::function<void(const QString& path)> FileWritten;
};

} // namespace ts
