#pragma once
// The RTF reader's builder: takes the tokens of one document and turns them
// into a RichDocument. Its work is spread by subject: RtfReader.cpp reads the
// groups and dispatches each control word, RtfReaderText.cpp takes text,
// runs and paragraphs, RtfReaderDestinations.cpp the tables, lists, fields
// and footnote marks. Used by RtfReader::read only.

#include "RtfCodePage.h"
#include "RtfControlWords.h"
#include "RtfFontTable.h"
#include "RtfListTable.h"
#include "RtfReaderState.h"
#include "RtfTokenizer.h"

#include <optional>
#include <string>
#include <vector>

namespace ts::rtf {

class Builder {
public:
    Builder(const char* begin, const char* end) : tok_(begin, end) {}

    RichDocument run();

private:
    void groupStart();
    void groupEnd();
    void skipRestOfGroup();
    void word(const Token& t);
    // A word by the destination it comes in.
    void destinationWord(const WordInfo& w, State& s);
    void normalWord(const WordInfo& w, const Token& t, State& s);
    void fontTableWord(const WordInfo& w, const Token& t, State& s);
    void colourTableWord(const WordInfo& w, const Token& t);
    void levelTextWord(const WordInfo& w, const Token& t, State& s);
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
    int trailsToSkip_ = 0;    // the rest of a skipped character of several bytes

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

} // namespace ts::rtf
