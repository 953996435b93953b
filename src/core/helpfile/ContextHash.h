#pragma once
// The hash under which a Topic ID is stored and jumped to. Letters count
// without regard to case, so "Intro" and "INTRO" hash alike; the compiler
// refuses the second of two IDs with the same hash.

#include <QByteArray>
#include <cstdint>

namespace ts::helpfile {

std::int32_t contextHash(const QByteArray& topicId);

} // namespace ts::helpfile
