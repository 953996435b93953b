#pragma once
// The upper halves of the Mac code pages the C library's converter has no
// name for, kept here so that RTF written on a Mac in those scripts reads as
// its characters rather than as Windows-1252.

#include <array>

namespace ts::rtf {

// Bytes 0x80-0xFF of a code page; 0 where the page defines no single
// character (such a byte reads as Windows-1252, as everywhere).
using UpperHalf = std::array<char16_t, 128>;

// The upper half of a Windows code page number we carry a table for, else
// nullptr.
const UpperHalf* builtInUpperHalf(int number);

} // namespace ts::rtf
