#include "RtfReader.h"

#include "RtfCodePage.h"
#include "RtfControlWords.h"
#include "RtfFontTable.h"
#include "RtfListTable.h"
#include "RtfReaderState.h"
#include "RtfTokenizer.h"
#include "links/LinkMarkup.h"
#include "model/Windows1252.h"

#include <algorithm>
#include <climits>
#include <iterator>
#include <string>
#include <string_view>
#include <unordered_map>

namespace ts::RtfReader {
namespace {

using namespace ts::rtf;

// Groups nested deeper than this are passed over whole; no real document
// comes near it, and it bounds the memory a hostile file can make us use.
constexpr std::size_t MaxDepth = 512;

class Builder {
public:
    Builder(const char* begin, const char* end) : tok_(begin, end) {}

    RichDocument run();

private:
    void groupStart();
    void groupEnd();
    void skipRestOfGroup();
    void word(const Token& t);
    void normalWord(const WordInfo& w, const Token& t, State& s);
    void fontTableWord(const WordInfo& w, const Token& t, State& s);
    void symbol(char c);
    void footnoteMark();
    void bytes(const char* data, std::size_t size);
    void byte(unsigned char b);
    void character(char16_t c);
    std::size_t skipFallback(const unsigned char* src, std::size_t size);
    void flushLead();
    void setDocumentCodePage(int* which, int number);
    int documentCodePage() const { return ansiCpg_ > 0 ? ansiCpg_ : charsetCodePage_; }
    const CodePage& pageOf(const FontEntry* font) const;
    const CodePage& pageInForce() const;

    void openRun();
    void flushRun();
    void endParagraph();
    void finish();
    const FontEntry* fontFor(const CharKey& key) const;
    CharFormat formatFor(const CharKey& key, const FontEntry* font) const;
    bool paragraphHasText() const { return !para_.empty() || !text_.empty(); }

    Tokenizer tok_;
    std::vector<State> stack_;
    bool done_ = false;
    bool groupStart_ = false; // the last token opened a group
    bool ignorable_ = false;  // "{\*" seen: an unknown destination word is skipped
    int ucSkip_ = 0;          // characters still to skip after \uN
    bool skipTrail_ = false;  // the last skipped byte was a lead: its trail goes too

    // Code pages: \ansicpgN, else \mac, \pc or \pca, else Windows-1252.
    int ansiCpg_ = 0;
    int charsetCodePage_ = Windows1252CodePage;
    int lead_ = -1;                       // a lead byte waiting for its trail
    const CodePage* leadPage_ = nullptr;  // the code page it was read in

    // Tables.
    int deff_ = 0;
    FontTable fonts_;
    std::vector<std::optional<std::uint32_t>> colours_;
    struct {
        int r = 0, g = 0, b = 0;
        bool any = false;
    } pendingColour_;

    // The document being built.
    RichDocument doc_;
    std::vector<Run> para_;  // finished runs of the current paragraph
    std::u16string text_;    // text of the open run
    CharFormat runFormat_;   // format of the open run
    CharKey runKey_;         // key the open run was last checked against
    bool runOpen_ = false;
    bool runSymbol_ = false; // the open key's font is a symbol font
    const CodePage* runPage_ = nullptr; // the open key's code page
    bool parSeen_ = false;
    bool formattedSincePar_ = false;
    TabSets tabSets_;
    // Lists: their definitions, and where the label a word processor wrote
    // for the paragraph ({\listtext ...}) lies in its text.
    ListTable lists_;
    qsizetype listTextStart_ = -1, listTextEnd_ = -1;
    qsizetype paragraphLength() const;
    void listWord(const WordInfo& w, const Token& t, State& s);
    // Labels the list item that begins at itemStart_ in `runs` (a cell, or
    // what follows the last cell); `p` takes the level's indents.
    void labelItem(std::vector<Run>& runs, const State& s, Paragraph* p);
    qsizetype itemStart_ = 0;
    bool cellLabelled_ = false;
    int footnotes_ = 0; // footnote marks numbered so far
    int endnotes_ = 0;
    int footnoteForm_ = 0, endnoteForm_ = 0; // \levelnfc forms
    // The last mark written: where it ends in its paragraph, and its length.
    std::size_t markParagraph_ = 0;
    qsizetype markEnd_ = -1, markLength_ = 0;
    void renumberAsEndnote();
    // Fields: the instruction of the one being read, and where its result
    // begins. A SYMBOL field without a result shows its character.
    std::string fieldInstruction_;
    std::size_t fieldParagraph_ = 0;
    qsizetype fieldStart_ = 0;
    void fieldEnd();
};

RichDocument Builder::run()
{
    doc_.Paragraphs.clear();
    while (!done_) {
        const Token t = tok_.next();
        const bool wasGroupStart = groupStart_;
        groupStart_ = false;
        switch (t.kind) {
        case TokenKind::End:
            done_ = true;
            break;
        case TokenKind::GroupStart:
            groupStart();
            break;
        case TokenKind::GroupEnd:
            groupEnd();
            break;
        case TokenKind::Word:
            word(t);
            break;
        case TokenKind::Symbol:
            if (t.param == '*') {
                ignorable_ = wasGroupStart;
                groupStart_ = wasGroupStart;
                continue;
            }
            symbol(char(t.param));
            break;
        case TokenKind::Hex:
            byte(static_cast<unsigned char>(t.param));
            break;
        case TokenKind::Text:
            bytes(t.data, t.size);
            break;
        case TokenKind::Binary:
            if (ucSkip_ > 0)
                --ucSkip_;
            skipTrail_ = false;
            break;
        }
        ignorable_ = false;
    }
    finish();
    return std::move(doc_);
}

void Builder::groupStart()
{
    ucSkip_ = 0;
    skipTrail_ = false;
    if (stack_.empty()) {
        stack_.emplace_back();
    } else if (stack_.size() >= MaxDepth) {
        tok_.skipGroup();
        return;
    } else {
        stack_.push_back(stack_.back());
    }
    groupStart_ = true;
}

void Builder::groupEnd()
{
    ucSkip_ = 0;
    skipTrail_ = false;
    if (stack_.empty()) {
        done_ = true;
        return;
    }
    if (stack_.back().dest == Dest::FontTable)
        fonts_.groupEnd(stack_.size());
    if (stack_.back().listText && stack_.size() > 1 && !stack_[stack_.size() - 2].listText)
        listTextEnd_ = paragraphLength();
    if (stack_.back().field && stack_.size() > 1 && !stack_[stack_.size() - 2].field) {
        stack_.pop_back();
        fieldEnd();
        return;
    }
    if (stack_.size() == 1) {
        // The document's own group ends here; what follows is not ours. The
        // state stays on the stack: the last paragraph takes its properties.
        done_ = true;
        return;
    }
    stack_.pop_back();
}

void Builder::skipRestOfGroup()
{
    tok_.skipGroup();
    groupEnd();
}

void Builder::word(const Token& t)
{
    const WordInfo* w = lookupWord(t.data, t.size, t.hash);
    if (ignorable_ && (!w || w->kind != WordKind::Destination)) {
        skipRestOfGroup();
        return;
    }
    skipTrail_ = false;
    if (ucSkip_ > 0) {
        --ucSkip_;
        return;
    }
    if (!w || stack_.empty())
        return;
    State& s = stack_.back();
    if (s.dest == Dest::ListTable && (w->id == WordId::ListDefinition || w->id == WordId::ListOverride)) {
        if (w->id == WordId::ListDefinition)
            lists_.startList();
        else
            lists_.startOverride();
        return;
    }
    if (w->kind == WordKind::Skip) {
        if (w->id == WordId::Footnote)
            renumberAsEndnote();
        skipRestOfGroup();
        return;
    }
    if (w->kind == WordKind::Destination) {
        switch (w->id) {
        case WordId::TransparentDestination:
            return;
        case WordId::FieldDestination:
            if (s.dest == Dest::Normal && !s.field) {
                s.field = true;
                fieldInstruction_.clear();
                fieldParagraph_ = doc_.Paragraphs.size();
                fieldStart_ = paragraphLength();
            }
            return;
        case WordId::FieldInstructionDestination:
            if (!s.field || s.dest != Dest::Normal) {
                skipRestOfGroup();
                return;
            }
            s.dest = Dest::FieldInstruction;
            return;
        case WordId::ListTableDestination:
        case WordId::ListOverridesDestination:
            s.dest = Dest::ListTable;
            lists_.setInOverrides(w->id == WordId::ListOverridesDestination);
            return;
        case WordId::LevelTextDestination:
            s.dest = s.dest == Dest::ListTable ? Dest::LevelText : s.dest;
            return;
        case WordId::LevelMarkerDestination:
            s.dest = s.dest == Dest::ListTable ? Dest::LevelMarker : s.dest;
            return;
        case WordId::ListTextDestination:
            if (s.dest == Dest::Normal && !s.listText) {
                s.listText = true;
                listTextStart_ = paragraphLength();
            }
            return;
        default:
            break;
        }
        if (w->id == WordId::FontTable) {
            s.dest = Dest::FontTable;
            fonts_.begin();
        } else {
            s.dest = Dest::ColourTable;
            pendingColour_ = {};
        }
        return;
    }
    switch (s.dest) {
    case Dest::Normal:
        normalWord(*w, t, s);
        break;
    case Dest::FontTable:
        fontTableWord(*w, t, s);
        break;
    case Dest::ListTable:
        listWord(*w, t, s);
        break;
    case Dest::FieldInstruction:
    case Dest::LevelMarker:
        break;
    case Dest::LevelText:
        if (w->id == WordId::Unicode && t.hasParam) {
            lists_.levelTextCharacter(char16_t(std::uint32_t(t.param) & 0xFFFF));
            ucSkip_ = s.uc;
        } else if (w->id == WordId::UnicodeSkip && t.hasParam) {
            s.uc = std::max(0, t.param);
        }
        break;
    case Dest::ColourTable:
        if (!t.hasParam)
            break;
        if (w->id == WordId::Red || w->id == WordId::Green || w->id == WordId::Blue) {
            const int v = std::clamp(t.param, 0, 255);
            (w->id == WordId::Red ? pendingColour_.r : w->id == WordId::Green ? pendingColour_.g : pendingColour_.b) = v;
            pendingColour_.any = true;
        }
        break;
    }
}

void Builder::normalWord(const WordInfo& w, const Token& t, State& s)
{
    switch (w.id) {
    case WordId::Par:
        endParagraph();
        return;
    case WordId::FootnoteMark:
        footnoteMark();
        return;
    case WordId::FootnoteNumbering:
    case WordId::EndnoteNumbering: {
        // The word's character names the form, as \levelnfc numbers it.
        static constexpr int forms[] = {0, 4, 3, 2, 1};
        (w.id == WordId::FootnoteNumbering ? footnoteForm_ : endnoteForm_) = forms[w.character - u'0'];
        return;
    }
    case WordId::Character:
        character(w.character);
        return;
    case WordId::Cell:
        if (s.ls > 0) { // each cell of a list is an item of its own
            flushLead();
            flushRun();
            labelItem(para_, s, nullptr);
            cellLabelled_ = true;
        }
        character(w.character);
        itemStart_ = paragraphLength();
        return;
    case WordId::Unicode:
        if (t.hasParam) {
            character(char16_t(std::uint32_t(t.param) & 0xFFFF));
            ucSkip_ = s.uc;
        }
        return;
    case WordId::UnicodeSkip:
        if (t.hasParam)
            s.uc = std::max(0, t.param);
        return;
    case WordId::Deff:
        if (t.hasParam) {
            deff_ = t.param;
            s.chr.font = t.param;
        }
        return;
    case WordId::AnsiCpg:
        if (t.hasParam)
            setDocumentCodePage(&ansiCpg_, std::max(0, t.param));
        return;
    case WordId::Ansi:
        setDocumentCodePage(&charsetCodePage_, Windows1252CodePage);
        return;
    case WordId::Mac:
        setDocumentCodePage(&charsetCodePage_, 10000);
        return;
    case WordId::Pc:
        setDocumentCodePage(&charsetCodePage_, 437);
        return;
    case WordId::Pca:
        setDocumentCodePage(&charsetCodePage_, 850);
        return;
    case WordId::FontCodePage:
    case WordId::FontCharset:
    case WordId::Red:
    case WordId::Green:
    case WordId::Blue:
        return; // meaningful in the tables only
    default:
        break;
    }

    // Formatting: after a final \par, any of these starts one more paragraph.
    if (applyFormattingWord(w, t, s, tabSets_, deff_))
        formattedSincePar_ = true;
}

void Builder::fontTableWord(const WordInfo& w, const Token& t, State& /*s*/)
{
    switch (w.id) {
    case WordId::Font:
        fonts_.startEntry(t.hasParam ? t.param : 0, stack_.size());
        break;
    case WordId::FontCharset:
        if (t.hasParam)
            fonts_.setCharset(t.param);
        break;
    case WordId::FontCodePage:
        if (t.hasParam)
            fonts_.setCodePage(t.param);
        break;
    case WordId::Unicode:
        if (t.hasParam) {
            fonts_.character(char16_t(std::uint32_t(t.param) & 0xFFFF));
            ucSkip_ = stack_.back().uc;
            skipTrail_ = false;
        }
        break;
    case WordId::UnicodeSkip:
        if (t.hasParam)
            stack_.back().uc = std::max(0, t.param);
        break;
    default:
        break;
    }
}

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

// Passes over the stand-in bytes after \uN. A double-byte character counts
// as one: when the count ends on a lead byte, its trail is skipped too.
std::size_t Builder::skipFallback(const unsigned char* src, std::size_t size)
{
    const CodePage& page = pageInForce();
    std::size_t i = 0;
    for (; i < size && (ucSkip_ > 0 || skipTrail_); ++i) {
        if (skipTrail_) {
            skipTrail_ = false;
            if (ucSkip_ > 0)
                --ucSkip_;
        } else {
            skipTrail_ = page.isLead(src[i]);
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
    if (ucSkip_ > 0 || skipTrail_) {
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


// \chftn stands for the number of its footnote: counted through the
// document, as word processors show the mark. (The footnote's own text, with
// its own \chftn, is a destination the reader skips.)
void Builder::footnoteMark()
{
    if (stack_.empty() || stack_.back().dest != Dest::Normal)
        return;
    flushLead();
    openRun();
    const QString mark = ListTable::number(++footnotes_, footnoteForm_);
    for (const QChar c : mark)
        text_.push_back(c.unicode());
    markParagraph_ = doc_.Paragraphs.size();
    markEnd_ = paragraphLength();
    markLength_ = mark.size();
}

// {\footnote\ftnalt ...} right after its mark is an endnote: the mark takes
// the endnotes' own count and form.
void Builder::renumberAsEndnote()
{
    Tokenizer probe = tok_;
    const Token next = probe.next();
    if (next.kind != TokenKind::Word || next.size != 6 || std::string_view(next.data, 6) != "ftnalt")
        return;
    if (markEnd_ < 0 || markParagraph_ != doc_.Paragraphs.size() || markEnd_ != paragraphLength()
        || qsizetype(text_.size()) < markLength_)
        return;
    text_.resize(text_.size() - std::size_t(markLength_));
    --footnotes_;
    const QString mark = ListTable::number(++endnotes_, endnoteForm_);
    for (const QChar c : mark)
        text_.push_back(c.unicode());
    markEnd_ = -1;
}

qsizetype Builder::paragraphLength() const
{
    qsizetype n = qsizetype(text_.size());
    for (const Run& r : para_)
        n += r.Text.size();
    return n;
}

void Builder::listWord(const WordInfo& w, const Token& t, State& /*s*/)
{
    const int value = t.hasParam ? t.param : 0;
    switch (w.id) {
    case WordId::ListLevel: lists_.startLevel(); break;
    case WordId::LevelFormat: lists_.setNumberFormat(value); break;
    case WordId::LevelStart: lists_.setStartAt(value); break;
    case WordId::LevelFollow: lists_.setFollow(value); break;
    case WordId::ListId: lists_.setListId(value); break;
    case WordId::ListNumber: lists_.setOverrideNumber(value); break;
    case WordId::Font: lists_.setLevelFont(value); break;
    case WordId::FirstIndent: lists_.setLevelIndents(value, std::nullopt); break;
    case WordId::LeftIndent: lists_.setLevelIndents(std::nullopt, value); break;
    default: break;
    }
}

// A paragraph (or table cell) of a defined list gets the label its
// definition gives, as LibreOffice shows it, in place of the label the word
// processor wrote for readers without lists ({\listtext ...}); without a
// definition that label stays.
void Builder::labelItem(std::vector<Run>& runs, const State& s, Paragraph* p)
{
    std::optional<ListTable::Label> label = lists_.nextLabel(s.ls, s.ilvl);
    if (!label)
        return;
    // Blanks before the written label (a line's indent in the file) go with it.
    const bool written = listTextStart_ >= itemStart_ && listTextEnd_ > listTextStart_
                         && textFrom(runs, itemStart_).left(listTextStart_ - itemStart_).trimmed().isEmpty();
    CharFormat format = formatAt(runs, written ? listTextEnd_ : itemStart_, formatFor(s.chr, fontFor(s.chr)));
    const FontEntry* font = label->font >= 0 ? fonts_.find(label->font) : nullptr;
    if (font)
        format.Face = font->face;
    // Bytes of the template are read in the label's font: kept as codes in a
    // symbol font, otherwise as characters of its code page.
    const bool symbol = font ? font->symbol : isSymbolFontFace(format.Face);
    const CodePage& page = pageOf(font ? font : fontFor(s.chr));
    for (QChar& c : label->text)
        if (c.unicode() >= 0xE020 && c.unicode() <= 0xE0FF)
            c = symbol ? QChar(c.unicode() + 0x1000) : QChar(page.single()[c.unicode() & 0xFF]);
    putLabel(runs, itemStart_, written ? listTextEnd_ : itemStart_, Run{label->text, format});
    listTextStart_ = listTextEnd_ = -1;
    if (p && p->LeftIndent == 0 && p->FirstIndent == 0) {
        p->LeftIndent = label->leftIndent.value_or(0);
        p->FirstIndent = label->firstIndent.value_or(0);
    }
}

// At the end of a field: a SYMBOL field ("SYMBOL 74 \\f "Wingdings"")
// whose result is empty stands for its character, in its font.
void Builder::fieldEnd()
{
    const std::string& in = fieldInstruction_;
    std::size_t at = in.find_first_not_of(' ');
    if (at == std::string::npos || in.compare(at, 6, "SYMBOL") != 0 || fieldParagraph_ != doc_.Paragraphs.size()
        || paragraphLength() != fieldStart_ || stack_.empty())
        return;
    at += 6;
    int code = 0;
    std::size_t digits = 0;
    while (at < in.size() && in[at] == ' ')
        ++at;
    for (; at < in.size() && in[at] >= '0' && in[at] <= '9' && digits < 6; ++at, ++digits)
        code = code * 10 + (in[at] - '0');
    if (digits == 0 || code == 0 || code > 0xFFFF)
        return;
    QString face;
    if (const std::size_t f = in.find("\\f", at); f != std::string::npos) {
        const std::size_t open = in.find('"', f);
        const std::size_t close = open == std::string::npos ? open : in.find('"', open + 1);
        if (close != std::string::npos)
            face = QString::fromLatin1(in.data() + open + 1, qsizetype(close - open - 1));
    }
    flushLead();
    flushRun();
    CharFormat format = formatFor(stack_.back().chr, fontFor(stack_.back().chr));
    if (!face.isEmpty())
        format.Face = face;
    const bool symbol = isSymbolFontFace(format.Face);
    const QChar c = code < 256 ? QChar(symbol ? char16_t(0xF000 | code) : CodePage::get(Windows1252CodePage).single()[code])
                               : QChar(char16_t(code));
    para_.push_back(Run{QString(c), format});
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
        links::hiddenTargetsToMarkup(p);
}

} // namespace

RichDocument read(const QByteArray& rtf)
{
    static const QByteArray Utf8Bom("\xEF\xBB\xBF");
    if (rtf.startsWith("{\\rtf")) {
        Builder b(rtf.constData(), rtf.constData() + rtf.size());
        return b.run();
    }
    if (rtf.startsWith(Utf8Bom))
        return RichDocument::fromPlainText(QString::fromUtf8(rtf.constData() + 3, rtf.size() - 3));
    return RichDocument::fromPlainText(cp1252::decode(rtf));
}

} // namespace ts::RtfReader
