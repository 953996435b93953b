#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <gtest/gtest.h>

using namespace ts;

namespace {

struct Case {
    const char* what;
    QByteArray rtf;
    QString expected;
};

// A document whose font table holds `font` and whose text is `body`.
QByteArray doc(const char* header, const char* font, const QByteArray& body)
{
    return QByteArray("{\\rtf1") + header + "\\deff0{\\fonttbl{\\f0" + font + ";}}\r\n\\pard\\plain\\f0\\fs20 " + body +
           "\\par\r\n}";
}

// Written again, what was read reads back the same, and the writer keeps to
// Windows-1252 with \uN for the rest.
void expectRoundTrip(const RichDocument& d, const char* what)
{
    const QByteArray written = RtfWriter::write(d);
    EXPECT_TRUE(written.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0")) << what;
    EXPECT_EQ(RtfReader::read(written), d) << what << "\n" << written.constData();
}

template <std::size_t N>
void expectCases(const Case (&cases)[N])
{
    for (const Case& c : cases) {
        const RichDocument d = RtfReader::read(c.rtf);
        EXPECT_EQ(d.plainText(), c.expected) << c.what;
        expectRoundTrip(d, c.what);
    }
}

} // namespace

TEST(RtfCodePage, TextReadsInTheCodePageInForce)
{
    const Case cases[] = {
        {"Japanese, font charset", doc("\\ansi\\ansicpg1252", "\\fnil\\fcharset128 MS Gothic",
                                       "\\'82\\'a8 \\'93\\'fa\\'96\\{\\'8c\\'ea \\'95\\\\"),
         QStringLiteral(u"お 日本語 表")},
        {"Japanese, document code page, raw bytes",
         doc("\\ansi\\ansicpg932", "\\fnil MS Mincho", "\x82\xa8 \x93\xfa\x96\\{\x8c\xea"),
         QStringLiteral(u"お 日本語")},
        {"lead and trail split by a formatting change",
         doc("\\ansi\\ansicpg932", "\\fnil MS Mincho", "\\'82{\\b \\'a8}\\'93\\b0 \\'fa"),
         QStringLiteral(u"お日")},
        {"Simplified Chinese", doc("\\ansi", "\\fnil\\fcharset134 SimSun", "\\'d6\\'d0\\'ce\\'c4\\'bc\\'f2\\'cc\\'e5"),
         QStringLiteral(u"中文简体")},
        {"Traditional Chinese, trail byte as a letter",
         doc("\\ansi", "\\fnil\\fcharset136 MingLiU", "\\'c1c\\'c5\\'e9\\'a4\\'a4\\'a4\\'e5"),
         QStringLiteral(u"繁體中文")},
        {"Korean", doc("\\ansi", "\\fnil\\fcharset129 Gulim", "\\'c7\\'d1\\'b1\\'b9\\'be\\'ee"),
         QStringLiteral(u"한국어")},
        {"Cyrillic, document code page", doc("\\ansi\\ansicpg1251", "\\fnil Arial", "\\'d3 \\'d5 \\'c2"),
         QStringLiteral(u"У Х В")},
        {"Cyrillic, font code page", doc("\\ansi", "\\fnil\\cpg1251 Arial", "\\'d3 \\'d5 \\'c2"),
         QStringLiteral(u"У Х В")},
        {"font charset before document code page", doc("\\ansi\\ansicpg1251", "\\fnil\\fcharset0 Arial", "\\'d3"),
         QStringLiteral(u"Ó")},
        {"Central European", doc("\\ansi", "\\fswiss\\fcharset238 Arial CE", "P\\'f8\\'edli\\'9a \\'9elu\\'9dou\\'e8k\\'fd"),
         QStringLiteral(u"Příliš žluťoučký")},
        {"Greek", doc("\\ansi", "\\fnil\\fcharset161 Arial", "\\'c5\\'eb\\'eb\\'e7\\'ed\\'e9\\'ea\\'dc"),
         QStringLiteral(u"Ελληνικά")},
        {"Arabic", doc("\\ansi", "\\fnil\\fcharset178 Arial", "\\'c7\\'e1\\'da\\'d1\\'c8\\'ed\\'c9"),
         QStringLiteral(u"العربية")},
        {"Hebrew", doc("\\ansi", "\\fnil\\fcharset177 Arial", "\\'f2\\'e1\\'f8\\'e9\\'fa"), QStringLiteral(u"עברית")},
        {"Thai", doc("\\ansi", "\\fnil\\fcharset222 Tahoma", "\\'c0\\'d2\\'c9\\'d2\\'e4\\'b7\\'c2"),
         QStringLiteral(u"ภาษาไทย")},
        {"Turkish", doc("\\ansi", "\\fnil\\fcharset162 Arial", "\\'f0\\'fd\\'fe"), QStringLiteral(u"ğış")},
        {"Baltic", doc("\\ansi", "\\fnil\\fcharset186 Arial", "\\'e0\\'e8\\'e6"), QStringLiteral(u"ąčę")},
        {"OEM", doc("\\pc", "\\fnil Terminal", "\\'82\\'b0"), QStringLiteral(u"é░")},
        {"Mac Roman", doc("\\mac", "\\fnil Geneva", "Caf\\'8e \\'de"), QStringLiteral(u"Café ﬁ")},
        {"Mac Roman by number", doc("\\ansi\\ansicpg10000", "\\fnil Geneva", "Caf\\'8e"), QStringLiteral(u"Café")},
        {"a code page the converter lacks", doc("\\ansi\\ansicpg12345", "\\fnil Arial", "\\'d3\\'80"),
         QStringLiteral(u"Ó€")},
        // The ISO 8859 pages by their Windows numbers, 28591 to 28606; the
        // numbers beside them are not pages the converter has.
        {"ISO 8859-1, first of the numbers", doc("\\ansi\\ansicpg28591", "\\fnil Arial", "\\'80"),
         QStringLiteral(u"\u0080")},
        {"ISO 8859-16, last of the numbers", doc("\\ansi\\ansicpg28606", "\\fnil Arial", "\\'a1"),
         QStringLiteral(u"Ą")},
        {"before the ISO numbers", doc("\\ansi\\ansicpg28590", "\\fnil Arial", "\\'80"), QStringLiteral(u"€")},
        {"after the ISO numbers", doc("\\ansi\\ansicpg28607", "\\fnil Arial", "\\'a1"), QStringLiteral(u"¡")},
        // TextEdit's Japanese: Mac Japanese by number and by font charset, read
        // as Windows reads Shift-JIS (0x8160 is the full-width tilde).
        {"Mac Japanese", doc("\\mac\\ansicpg10001", "\\fnil\\fcharset78 HiraKakuPro-W3", "\\'82\\'a8\\'81\\'60"),
         QStringLiteral(u"お～")},
        {"Mac Japanese by font charset", doc("\\mac", "\\fnil\\fcharset78 Osaka", "\\'93\\'fa\\'96\\'7b"),
         QStringLiteral(u"日本")},
        {"Traditional Chinese, document code page", doc("\\ansi\\ansicpg950", "\\fnil PMingLiU", "\\'a4\\'a4\\'a4\\'e5"),
         QStringLiteral(u"中文")},
        {"Mac Traditional Chinese", doc("\\mac\\ansicpg10002", "\\fnil Apple LiSung", "\\'a4\\'a4"),
         QStringLiteral(u"中")},
        // Windows reads the rows of user-defined characters as private-use
        // characters: one character, not two bytes.
        {"Big5 user-defined character", doc("\\ansi", "\\fnil\\fcharset136 MingLiU", "a\\'84\\'68b\\'fa\\'40"),
         QStringLiteral(u"a\uF0B7b\uE000")},
        {"Shift-JIS user-defined character", doc("\\ansi\\ansicpg932", "\\fnil MS Gothic", "\\'f0\\'40\\'f0\\'80"),
         QStringLiteral(u"\uE000\uE03F")},
    };
    expectCases(cases);
}

// The stand-in bytes after \uN never show, also when a double-byte character
// counts as one; a lead byte without a trail, or with one the code page does
// not define, is read alone.
TEST(RtfCodePage, DoubleByteEdges)
{
    const Case cases[] = {
        {"\\uc1 with a two-byte stand-in", doc("\\ansi\\ansicpg932\\uc1", "\\fnil MS Gothic", "\\u12362\\'82\\'a8x"),
         QStringLiteral(u"おx")},
        {"\\uc2 with a two-byte stand-in", doc("\\ansi\\ansicpg936\\uc2", "\\fnil SimSun", "\\u20013\\'d6\\'d0\\'b0"),
         QStringLiteral(u"中\u00b0")},
        {"lead byte before a paragraph end", doc("\\ansi\\ansicpg932", "\\fnil MS Gothic", "a\\'82\\par b"),
         QStringLiteral(u"a\u201a\r\nb")},
        {"lead byte before \\tab", doc("\\ansi\\ansicpg932", "\\fnil MS Gothic", "\\'82\\tab"),
         QStringLiteral(u"\u201a\t")},
        {"undefined trail", doc("\\ansi\\ansicpg932", "\\fnil MS Gothic", "\\'82\\'20x"), QStringLiteral(u"\u201a x")},
        {"code page changes between lead and trail",
         "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset128 A;}{\\f1\\fcharset204 B;}}\\f0\\'82\\f1\\'d3}",
         QStringLiteral(u"\u201aУ")},
    };
    expectCases(cases);

    // Face names are in their font's code page, and keep their names when written.
    const RichDocument named = RtfReader::read(
        doc("\\ansi", "\\fnil\\fcharset128 \\'82l\\'82r \\'83S\\'83V\\'83b\\'83N", "\\'82\\'a8"));
    EXPECT_EQ(named.Paragraphs[0].Runs[0].Format.Face, QStringLiteral(u"ＭＳ ゴシック"));
    EXPECT_EQ(named.plainText(), QStringLiteral(u"お"));
    expectRoundTrip(named, "face name");
}

// UTF-8 by number, and the Mac pages the converter has no name for.
// Whatever is no UTF-8 reads byte by byte as Windows-1252, as every byte a
// code page leaves undefined does.
TEST(RtfCodePage, Utf8AndMacScriptPages)
{
    const Case cases[] = {
        {"UTF-8, escapes", doc("\\ansi\\ansicpg65001", "\\fnil Arial", "\\'e4\\'b8\\'ad"), QStringLiteral(u"中")},
        {"UTF-8, raw bytes past the 16-bit range",
         doc("\\ansi\\ansicpg65001", "\\fnil Arial", "\xc3\xa9\xe6\x96\x87\xf0\x9f\x98\x80"),
         QStringLiteral(u"é文\U0001F600")},
        {"UTF-8 font code page, split by a formatting change",
         doc("\\ansi", "\\fnil\\cpg65001 Arial", "\\'e4{\\b \\'b8}\\'ad"), QStringLiteral(u"中")},
        {"UTF-8 by code page over a Shift-JIS character set",
         doc("\\ansi", "\\fnil\\fcharset128\\cpg65001 Arial", "\\'e4\\'b8\\'ad"), QStringLiteral(u"中")},
        {"UTF-8 broken off, overlong, a stray trail",
         doc("\\ansi\\ansicpg65001", "\\fnil Arial", "a\\'e4\\'b8b\\'c0\\'af\\'80\\'ed\\'a0\\'80"),
         QStringLiteral(u"aä¸bÀ¯€í\u00a0€")},
        {"UTF-8 cut by a paragraph end", doc("\\ansi\\ansicpg65001", "\\fnil Arial", "\\'e4\\'b8\\par x"),
         QStringLiteral(u"ä¸\r\nx")},
        {"UTF-8 three-byte stand-in after \\uc1",
         doc("\\ansi\\ansicpg65001\\uc1", "\\fnil Arial", "\\u20013\\'e4\\'b8\\'adx"), QStringLiteral(u"中x")},
        {"Mac Greek", doc("\\mac\\ansicpg10006", "\\fnil Geneva", "\\'e1\\'e2\\'a1\\'dd"), QStringLiteral(u"αβΓί")},
        {"Mac Turkish", doc("\\mac\\ansicpg10081", "\\fnil Geneva", "\\'da\\'dc\\'dd\\'df\\'8e"),
         QStringLiteral(u"Ğİışé")},
        {"Mac Arabic", doc("\\mac\\ansicpg10004", "\\fnil Geeza", "\\'c7\\'e4\\'b1\\'ac"), QStringLiteral(u"ال١،")},
        {"Mac Hebrew", doc("\\mac\\ansicpg10005", "\\fnil Raanana", "\\'f9\\'ec\\'e5\\'ed\\'a6"),
         QStringLiteral(u"שלום₪")},
        {"Mac Romanian", doc("\\mac\\ansicpg10010", "\\fnil Geneva", "\\'ae\\'be\\'df"), QStringLiteral(u"Ăăț")},
        {"Mac Thai", doc("\\mac\\ansicpg10021", "\\fnil Thonburi", "\\'a1\\'d2\\'f1"), QStringLiteral(u"กา๑")},
        {"Mac Croatian", doc("\\mac\\ansicpg10082", "\\fnil Geneva", "\\'a9\\'e8\\'f0"), QStringLiteral(u"Ščđ")},
        {"Mac Central European", doc("\\mac\\ansicpg10029", "\\fnil Geneva", "\\'84\\'89"),
         QStringLiteral(u"ĄČ")},
        {"Mac Icelandic", doc("\\mac\\ansicpg10079", "\\fnil Geneva", "\\'de"), QStringLiteral(u"Þ")},
        {"a byte Mac Turkish leaves undefined", doc("\\mac\\ansicpg10081", "\\fnil Geneva", "\\'f5"),
         QStringLiteral(u"õ")},
    };
    expectCases(cases);
}

TEST(RtfCodePage, NestedTableStandInAndStrayListDefinitionsAreSkipped)
{
    const RichDocument d = RtfReader::read(QByteArray(
        "{\\rtf1\\ansi{\\list\\listtemplateid1{\\listlevel{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}}\\listid7}"
        "{\\listoverride\\listid7\\ls1}"
        "\\pard\\intbl a\\cell\\pard\\itap2 b\\nestcell c\\nestcell{\\*\\nesttableprops\\trowd\\nestrow}"
        "{\\nonesttables\\par b\\tab c}\\pard\\intbl\\cell\\row z\\par}"));
    // The nested row ends where its \nestrow stands (inside the row's
    // properties, as Word writes it); the outer cell goes on after it.
    EXPECT_EQ(d.paragraphTexts(),
              QStringList({QStringLiteral("a\tb\tc\t"), QStringLiteral("\t"), QStringLiteral("z")}));
}
