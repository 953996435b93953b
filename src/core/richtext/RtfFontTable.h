#pragma once
// The font table as the RTF reader reads it: an entry is collected from its
// \fN, \fcharsetN and \cpgN words and the name up to its ';', and then looked
// up by number. A face name is read in the code page of its own entry.

#include "RtfCodePage.h"

#include <QHash>
#include <QString>
#include <cstddef>
#include <string>

namespace ts::rtf {

struct FontEntry {
    QString face;
    bool symbol = false; // \fcharset2, or a symbol face without a charset
    int codePage = 0;    // from \fcharsetN or \cpgN; 0 = the document's
};

class FontTable {
public:
    // The code page of entries that name none (\ansicpgN and the like).
    void setDocumentCodePage(int number) { documentCodePage_ = number; }

    // \fonttbl: what an earlier table left unfinished is dropped.
    void begin() { pending_.active = false; }
    // \fN inside the table; `depth` is the nesting of the group it stands in.
    void startEntry(int number, std::size_t depth);
    void setCharset(int charset);
    void setCodePage(int number);
    void character(char16_t c);
    // Bytes of a name; ';' ends the entry.
    void bytes(const unsigned char* src, std::size_t size);
    // The group at `depth` ends: an entry begun in it ends without its ';'.
    void groupEnd(std::size_t depth);

    // The code page of the entry being read.
    const CodePage& pendingPage() const;
    const FontEntry* find(int number) const;

private:
    void commit();

    int documentCodePage_ = Windows1252CodePage;
    QHash<int, FontEntry> fonts_;
    struct {
        bool active = false;
        std::size_t depth = 0; // nesting of the group the entry started in
        int number = 0;
        int charset = -1;
        int codePage = 0; // \cpgN
        int lead = -1;    // a lead byte of the name waiting for its trail
        std::u16string name;
    } pending_;
};

} // namespace ts::rtf
