#pragma once
// Integers typed by the user (and integers read from the settings file):
// optional leading blanks, then an optional sign and decimal digits, or "$"
// and hexadecimal digits. The value must fit in 32 bits.

#include <QString>
#include <optional>

namespace ts {

std::optional<int> parseUserInteger(const QString& text);

// "'<text>' is not a valid integer value": the refusal for text that does
// not parse.
QString notAnIntegerMessage(const QString& text);

} // namespace ts
