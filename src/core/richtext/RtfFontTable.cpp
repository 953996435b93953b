#include "RtfFontTable.h"

#include "RichDocument.h"

#include <algorithm>

namespace ts::rtf {
namespace {

// The code page a font's \cpgN names, else the one its \fcharsetN stands
// for; 0 = the document's. A writer that gives both means the code page
// (a Shift-JIS character set with \cpg65001 holds UTF-8).
int entryCodePage(int charset, int cpg)
{
    return cpg != 0 ? cpg : codePageForCharset(charset);
}

} // namespace

void FontTable::startEntry(int number, std::size_t depth)
{
    if (pending_.active && !pending_.name.empty())
        commit();
    pending_.active = true;
    pending_.depth = depth;
    pending_.number = number;
    pending_.charset = -1;
    pending_.codePage = 0;
    pending_.lead = -1;
    pending_.name.clear();
}

void FontTable::setCharset(int charset)
{
    pending_.charset = charset;
}

void FontTable::setCodePage(int number)
{
    pending_.codePage = std::max(0, number);
}

void FontTable::character(char16_t c)
{
    if (!pending_.active)
        return;
    pendingPage().flushLead(pending_.name, pending_.lead);
    pending_.name.push_back(c);
}

void FontTable::bytes(const unsigned char* src, std::size_t size)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i <= size; ++i) {
        if (i < size && src[i] != ';')
            continue;
        if (pending_.active && i > start)
            pendingPage().decode(src + start, i - start, pending_.name, pending_.lead);
        if (i < size)
            commit();
        start = i + 1;
    }
}

void FontTable::groupEnd(std::size_t depth)
{
    if (pending_.active && pending_.depth >= depth)
        commit();
}

const CodePage& FontTable::pendingPage() const
{
    const int n = entryCodePage(pending_.charset, pending_.codePage);
    return CodePage::get(n != 0 ? n : documentCodePage_);
}

const FontEntry* FontTable::find(int number) const
{
    const auto it = fonts_.constFind(number);
    return it != fonts_.constEnd() ? &*it : nullptr;
}

void FontTable::commit()
{
    if (!pending_.active)
        return;
    pendingPage().flushLead(pending_.name, pending_.lead);
    FontEntry e;
    e.face = QString(reinterpret_cast<const QChar*>(pending_.name.data()), qsizetype(pending_.name.size())).trimmed();
    e.symbol = pending_.charset == 2 || (pending_.charset < 0 && isSymbolFontFace(e.face));
    e.codePage = entryCodePage(pending_.charset, pending_.codePage);
    fonts_.insert(pending_.number, std::move(e));
    pending_.active = false;
    pending_.name.clear();
}

} // namespace ts::rtf
