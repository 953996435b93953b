#pragma once
// Progress reporting of long commands: the callback receives each advance of
// the progress bar (0..100 range) as the command makes it.

#include <functional>

namespace ts {

using ProgressStep = std::function<void(int advance)>;

} // namespace ts
