#pragma once
// Windows-1252 ("ANSI") text: the single-byte code page of every file the
// program reads and writes. Unicode lives only in memory and in the GUI.

#include <QByteArray>
#include <QString>

namespace ts::cp1252 {

// Each byte becomes one character. The five bytes that Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same
// value, so decoding never loses a byte and encode(decode(b)) == b.
QString decode(const QByteArray& bytes);
QString decode(const char* data, qsizetype size);

// The byte for a character, or -1 when it has no Windows-1252 form.
int byteFor(char16_t c);
inline bool canEncode(QChar c) { return byteFor(c.unicode()) >= 0; }
bool canEncode(const QString& text);

// Encodes text; characters without a Windows-1252 form become `replacement`.
QByteArray encode(const QString& text, char replacement = '?');

// Keeps only the characters that have a Windows-1252 form (for input fields
// that store into counted strings).
QString filter(const QString& text);

} // namespace ts::cp1252
