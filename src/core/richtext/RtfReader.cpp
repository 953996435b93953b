#include "RtfReader.h"

#include "RtfBuilder.h"
#include "model/Windows1252.h"

#include <algorithm>

namespace ts::rtf {
namespace {

// Groups nested deeper than this are passed over whole; no real document
// comes near it, and it bounds the memory a hostile file can make us use.
constexpr std::size_t MaxDepth = 512;

} // namespace

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
            trailsToSkip_ = 0;
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
    trailsToSkip_ = 0;
    if (stack_.empty()) {
        stack_.emplace_back();
    } else if (stack_.size() >= MaxDepth) {
        tok_.skipGroup();
        return;
    } else if (stack_.back().ansiTextNext) {
        // A \upr pair's ANSI text is for readers without Unicode; its \ud
        // group that follows holds the same text in Unicode.
        stack_.back().ansiTextNext = false;
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
    trailsToSkip_ = 0;
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
    trailsToSkip_ = 0;
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
        destinationWord(*w, s);
        return;
    }
    if (w->id == WordId::UnicodePair) {
        s.ansiTextNext = true;
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
        levelTextWord(*w, t, s);
        break;
    case Dest::ColourTable:
        colourTableWord(*w, t);
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

} // namespace ts::rtf

namespace ts::RtfReader {

RichDocument read(const QByteArray& rtf)
{
    static const QByteArray Utf8Bom("\xEF\xBB\xBF");
    if (rtf.startsWith("{\\rtf")) {
        rtf::Builder b(rtf.constData(), rtf.constData() + rtf.size());
        return b.run();
    }
    if (rtf.startsWith(Utf8Bom))
        return RichDocument::fromPlainText(QString::fromUtf8(rtf.constData() + 3, rtf.size() - 3));
    return RichDocument::fromPlainText(cp1252::decode(rtf));
}

} // namespace ts::RtfReader
