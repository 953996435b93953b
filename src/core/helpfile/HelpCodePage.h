#pragma once
// The one code page of a help file's text: titles, topic text, keywords,
// macros and Topic IDs are all bytes in it. Windows-1252 is decoded by the
// program's own table; other code pages through Qt's converters.

#include <QByteArray>
#include <QString>

namespace ts::helpfile {

// The code page for a Windows character set byte (the |SYSTEM CHARSET
// record, a font's charset); 0 when the byte names none (ANSI, DEFAULT, SYMBOL).
int codePageForCharset(int charset);
// The ANSI code page of a Windows locale ID; 0 when unknown.
int codePageForLcid(int lcid);

// Whether text in this code page can be decoded here.
bool canDecode(int codePage);
// Bytes to text and back; an unknown code page is read as Windows-1252.
QString decodeText(const QByteArray& bytes, int codePage);
QByteArray encodeText(const QString& text, int codePage);

} // namespace ts::helpfile
