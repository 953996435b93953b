// The RTF reader's destinations other than the text: the font and colour
// tables, list definitions and the labels they give, fields and footnote
// marks.

#include "RtfBuilder.h"

#include <algorithm>
#include <string_view>

namespace ts::rtf {

// A destination word: where the group's text goes from here on.
void Builder::destinationWord(const WordInfo& w, State& s)
{
    switch (w.id) {
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
        lists_.setInOverrides(w.id == WordId::ListOverridesDestination);
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
    if (w.id == WordId::FontTable) {
        s.dest = Dest::FontTable;
        fonts_.begin();
    } else {
        s.dest = Dest::ColourTable;
        pendingColour_ = {};
    }
    return;

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
            trailsToSkip_ = 0;
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

void Builder::colourTableWord(const WordInfo& w, const Token& t)
{
    if (!t.hasParam)
        return;
    if (w.id == WordId::Red || w.id == WordId::Green || w.id == WordId::Blue) {
        const int v = std::clamp(t.param, 0, 255);
        (w.id == WordId::Red ? pendingColour_.r : w.id == WordId::Green ? pendingColour_.g : pendingColour_.b) = v;
        pendingColour_.any = true;
    }
}

void Builder::levelTextWord(const WordInfo& w, const Token& t, State& s)
{
    if (w.id == WordId::Unicode && t.hasParam) {
        lists_.levelTextCharacter(char16_t(std::uint32_t(t.param) & 0xFFFF));
        ucSkip_ = s.uc;
    } else if (w.id == WordId::UnicodeSkip && t.hasParam) {
        s.uc = std::max(0, t.param);
    }
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

} // namespace ts::rtf
