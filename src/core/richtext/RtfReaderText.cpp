// The RTF reader's text: bytes and characters in the code page in force,
// runs of one format, paragraphs and the end of the document.

#include "RtfBuilder.h"
#include "richtext/HiddenLinkTargets.h"

#include <algorithm>
#include <iterator>

namespace ts::rtf {

void Builder::setDocumentCodePage(int* which, int number)
{
    *which = number;
    fonts_.setDocumentCodePage(documentCodePage());
    runKey_ = StaleKey; // the open run's code page may no longer hold
}

const CodePage& Builder::pageOf(const FontEntry* font) const
{
    return CodePage::get(font && font->codePage != 0 ? font->codePage : documentCodePage());
}

const CodePage& Builder::pageInForce() const
{
    if (stack_.empty())
        return CodePage::get(documentCodePage());
    if (stack_.back().dest == Dest::FontTable)
        return fonts_.pendingPage();
    const CharKey& key = stack_.back().chr;
    if (runOpen_ && key == runKey_)
        return *runPage_;
    return pageOf(fontFor(key));
}

// Passes over the stand-in bytes after \uN. A character of several bytes is
// never cut: when the count ends on its first byte, the rest are skipped too.
std::size_t Builder::skipFallback(const unsigned char* src, std::size_t size)
{
    const CodePage& page = pageInForce();
    std::size_t i = 0;
    for (; i < size && (ucSkip_ > 0 || trailsToSkip_ > 0); ++i) {
        if (trailsToSkip_ > 0) {
            --trailsToSkip_;
            if (ucSkip_ > 0)
                --ucSkip_;
        } else {
            trailsToSkip_ = page.trailBytes(src[i]);
            --ucSkip_;
        }
    }
    return i;
}

// A lead byte still waiting when other text or a paragraph end comes is read
// alone.
void Builder::flushLead()
{
    if (lead_ < 0)
        return;
    openRun();
    leadPage_->flushLead(text_, lead_);
}

void Builder::symbol(char c)
{
    if (ucSkip_ > 0) {
        --ucSkip_;
        return;
    }
    switch (c) {
    case '\\':
    case '{':
    case '}':
        byte(static_cast<unsigned char>(c));
        return;
    case '~':
        character(u'\u00A0');
        return;
    case '-':
        character(u'\u00AD');
        return;
    case '_':
        character(u'\u2011');
        return;
    case '\r':
    case '\n':
        if (!stack_.empty() && stack_.back().dest == Dest::Normal)
            endParagraph(); // a backslash before a line end is \par
        return;
    default:
        return;
    }
}

void Builder::byte(unsigned char b)
{
    const char c = char(b);
    bytes(&c, 1);
}

void Builder::bytes(const char* data, std::size_t size)
{
    const auto* src = reinterpret_cast<const unsigned char*>(data);
    if (ucSkip_ > 0 || trailsToSkip_ > 0) {
        const std::size_t n = skipFallback(src, size);
        src += n;
        size -= n;
        if (size == 0)
            return;
    }
    if (stack_.empty())
        return;
    switch (stack_.back().dest) {
    case Dest::Normal:
        openRun();
        if (runSymbol_) {
            flushLead();
            const std::size_t old = text_.size();
            text_.resize(old + size);
            char16_t* dst = text_.data() + old;
            for (std::size_t i = 0; i < size; ++i)
                dst[i] = char16_t(0xF000 | src[i]);
        } else {
            if (lead_ >= 0 && leadPage_ != runPage_)
                leadPage_->flushLead(text_, lead_);
            runPage_->decode(src, size, text_, lead_);
            leadPage_ = runPage_;
        }
        return;
    case Dest::FontTable:
        fonts_.bytes(src, size);
        return;
    case Dest::LevelText:
        for (std::size_t i = 0; i < size; ++i)
            lists_.levelTextByte(src[i]);
        return;
    case Dest::ListTable:
        return;
    case Dest::LevelMarker:
        for (std::size_t i = 0; i < size; ++i)
            lists_.levelMarkerByte(src[i]);
        return;
    case Dest::FieldInstruction:
        if (fieldInstruction_.size() < 1024)
            fieldInstruction_.append(reinterpret_cast<const char*>(src), std::min<std::size_t>(size, 1024));
        return;
    case Dest::ColourTable:
        for (std::size_t i = 0; i < size; ++i) {
            if (src[i] != ';')
                continue;
            if (pendingColour_.any)
                colours_.emplace_back(std::uint32_t(pendingColour_.r << 16 | pendingColour_.g << 8 | pendingColour_.b));
            else
                colours_.emplace_back(std::nullopt);
            pendingColour_ = {};
        }
        return;
    }
}

void Builder::character(char16_t c)
{
    if (stack_.empty())
        return;
    if (stack_.back().dest == Dest::FontTable) {
        fonts_.character(c);
        return;
    }
    if (stack_.back().dest != Dest::Normal)
        return;
    flushLead();
    openRun();
    text_.push_back(c);
}

// The font a key names, else the default font; nullptr when neither is known.
const FontEntry* Builder::fontFor(const CharKey& key) const
{
    const FontEntry* font = fonts_.find(key.font);
    return font ? font : fonts_.find(deff_);
}

CharFormat Builder::formatFor(const CharKey& key, const FontEntry* font) const
{
    CharFormat f;
    if (font)
        f.Face = font->face;
    f.Size = key.size;
    if (key.colour >= 0 && std::size_t(key.colour) < colours_.size())
        f.Colour = colours_[std::size_t(key.colour)];
    f.Bold = key.flags & BoldFlag;
    f.Italic = key.flags & ItalicFlag;
    f.Underline = key.flags & UnderlineFlag;
    f.Strike = key.flags & StrikeFlag;
    f.Hidden = key.flags & HiddenFlag;
    f.DoubleUnderline = key.flags & DoubleUnderlineFlag;
    f.SmallCaps = key.flags & SmallCapsFlag;
    f.Vertical = key.flags & SuperscriptFlag ? VerticalPosition::Superscript
                 : key.flags & SubscriptFlag ? VerticalPosition::Subscript
                                          : VerticalPosition::Normal;
    if (key.highlight > 0 && std::size_t(key.highlight) < colours_.size())
        f.Highlight = colours_[std::size_t(key.highlight)];
    return f;
}

// Makes sure text can be added under the current format: keeps the open run
// when the format looks the same, otherwise closes it and opens another.
void Builder::openRun()
{
    const CharKey& key = stack_.back().chr;
    if (runOpen_ && key == runKey_)
        return;
    const FontEntry* font = fontFor(key);
    CharFormat f = formatFor(key, font);
    runKey_ = key;
    runSymbol_ = font && font->symbol;
    runPage_ = &pageOf(font);
    if (runOpen_ && f == runFormat_)
        return;
    flushRun();
    runFormat_ = std::move(f);
    runOpen_ = true;
}

void Builder::flushRun()
{
    if (!text_.empty()) {
        const QString text(reinterpret_cast<const QChar*>(text_.data()), qsizetype(text_.size()));
        // A run closed early (a list label or a field put in between) goes on
        // in the run before when the format is the same.
        if (!para_.empty() && para_.back().Format == runFormat_)
            para_.back().Text += text;
        else
            para_.push_back(Run{text, runFormat_});
        text_.clear();
    }
    runOpen_ = false;
}

// The properties in effect at \par belong to the paragraph it ends; an empty
// paragraph takes the character format in effect there.
void Builder::endParagraph()
{
    if (stack_.empty())
        return;
    flushLead();
    const State& s = stack_.back();
    flushRun();
    Paragraph p;
    p.Align = s.align;
    p.LeftIndent = s.li;
    p.FirstIndent = s.fi;
    p.RightIndent = s.ri;
    p.SpaceBefore = s.sb;
    p.SpaceAfter = s.sa;
    p.LineSpacing = s.sl;
    p.LineSpacingMultiple = s.slmult && s.sl != 0;
    if (s.tabs >= 0)
        p.Tabs = tabSets_.at(s.tabs);
    if (para_.empty()) {
        p.Runs.front().Format = formatFor(s.chr, fontFor(s.chr));
    } else {
        // Copied out, so that the scratch list keeps its capacity.
        p.Runs.assign(std::make_move_iterator(para_.begin()), std::make_move_iterator(para_.end()));
        para_.clear();
    }
    // A row whose cells were the items has no item after its last cell.
    if (s.ls > 0 && !(cellLabelled_ && textFrom(p.Runs, itemStart_).trimmed().isEmpty()))
        labelItem(p.Runs, s, &p);
    listTextStart_ = listTextEnd_ = -1;
    itemStart_ = 0;
    cellLabelled_ = false;
    doc_.Paragraphs.push_back(std::move(p));
    parSeen_ = true;
    formattedSincePar_ = false;
}

qsizetype Builder::paragraphLength() const
{
    qsizetype n = qsizetype(text_.size());
    for (const Run& r : para_)
        n += r.Text.size();
    return n;
}

// A final \par ends the last paragraph: only text or formatting after it makes
// one more. A document that never had \par is one paragraph, empty or not.
void Builder::finish()
{
    if (stack_.empty())
        stack_.emplace_back();
    flushLead();
    if (!parSeen_ || paragraphHasText() || formattedSincePar_) {
        // A paragraph made only by formatting words after the last \par is
        // no item of a list.
        if (parSeen_ && !paragraphHasText())
            stack_.back().ls = 0;
        endParagraph();
    }
    if (doc_.Paragraphs.empty())
        doc_.Paragraphs.emplace_back();
    for (Paragraph& p : doc_.Paragraphs)
        hiddenTargetsToMarkup(p);
}

} // namespace ts::rtf
