#pragma once
// Every signature, size and code of the WinHelp file format in one place, for
// the help file reader and the help compiler alike. All integers in the file
// are little-endian.

#include <cstdint>

namespace ts::helpfile::format {

// ------------------------------------------------------------ the container

inline constexpr std::uint32_t FileMagic = 0x00035F3F; // first four bytes of every help file
inline constexpr int FileHeaderSize = 16;  // magic, directory offset, free list, file size
inline constexpr int InternalHeaderSize = 9; // reserved size, used size, flags byte
inline constexpr std::uint8_t DirectoryFileFlags = 4; // flags byte of the directory's header
inline constexpr std::uint8_t InternalFileFlags = 0;  // flags byte of every other internal file
inline constexpr std::int32_t NoFreeList = -1;         // the free list field of a file without gaps

// ----------------------------------------------------------------- B+ trees

inline constexpr std::uint16_t TreeMagic = 0x293B;
inline constexpr int TreeHeaderSize = 38;
inline constexpr int TreeStructureSize = 16; // the NUL-padded Structure string at +6
inline constexpr int LeafPageHeaderSize = 8;  // unused, entries, previous, next
inline constexpr int IndexPageHeaderSize = 6; // unused, entries, first child
inline constexpr std::uint16_t DirectoryTreeFlags = 0x0402;
inline constexpr std::uint16_t OtherTreeFlags = 0x0002;
inline constexpr int DirectoryPageSize = 1024;
inline constexpr int KeywordPageSize = 1024; // |KWBTREE and |AWBTREE
inline constexpr int LookupPageSize = 2048;  // |CONTEXT, |TTLBTREE, |VIOLA
inline constexpr std::int16_t NoPage = -1;    // an unused page link
inline constexpr int PageNumberSize = 2;      // an index page's child number (s16)
// The Structure strings: z NUL-terminated string, L and 4 a 32-bit value,
// 2 a 16-bit value, F a keyword.
inline constexpr char DirectoryStructure[] = "z4";
inline constexpr char ContextStructure[] = "L4";  // hash, TOPICOFFSET; |VIOLA too
inline constexpr char TitleStructure[] = "Lz";    // TOPICOFFSET, title
inline constexpr char KeywordStructure[] = "F24"; // keyword, count, |KWDATA offset
inline constexpr int MaxTreeLevels = 16; // deeper trees are damage

// ------------------------------------------------------------------ |SYSTEM

inline constexpr std::uint16_t SystemMagic = 0x036C;
inline constexpr int SystemHeaderSize = 12;
inline constexpr int LastVersion30 = 16; // minor versions up to this follow 3.0's rules
inline constexpr int Version31 = 21;
inline constexpr int VersionViewer = 27;
inline constexpr int Version40 = 33;
inline constexpr int MajorVersion = 1;
// |SYSTEM flags: whether and how |TOPIC is compressed.
inline constexpr std::uint16_t SystemFlagsPlain = 0;
inline constexpr std::uint16_t SystemFlagsCompressed = 4;      // LZ77, 4 KB blocks
inline constexpr std::uint16_t SystemFlagsCompressedSmall = 8; // LZ77, 2 KB blocks

enum SystemRecord : std::uint16_t {
    SystemTitle = 1,
    SystemCopyright = 2,
    SystemContents = 3,
    SystemConfig = 4,
    SystemIcon = 5,
    SystemWindow = 6,
    SystemCitation = 8,
    SystemLcid = 9,
    SystemContentsFile = 10,
    SystemCharset = 11,
    SystemDefaultFont = 12,
    SystemIndexSeparators = 14,
};
inline constexpr int WindowRecordSize = 90;
enum WindowFlag : std::uint16_t {
    WindowTypeValid = 0x0001,
    WindowNameValid = 0x0002,
    WindowCaptionValid = 0x0004,
    WindowXValid = 0x0008,
    WindowYValid = 0x0010,
    WindowWidthValid = 0x0020,
    WindowHeightValid = 0x0040,
    WindowScrollingColourValid = 0x0100,
    WindowNonScrollingColourValid = 0x0200,
    WindowOnTop = 0x0400,
    WindowAutoSizeHeight = 0x0800,
};
inline constexpr int WindowTypeSize = 10;
inline constexpr int WindowNameSize = 9;
inline constexpr int WindowCaptionSize = 51;
inline constexpr int LcidRecordSize = 10; // the LCID is the u16 at +8
inline constexpr int LcidOffset = 8;
inline constexpr std::uint16_t DefaultLcid = 0x0409; // English (United States)

// -------------------------------------------------------------------- |FONT

inline constexpr int FontHeaderSize = 8;
inline constexpr int OldFontDescriptorSize = 11;
inline constexpr int FaceNameSize31 = 20;
inline constexpr int FaceNameSize40 = 32;
// A face-name offset this large means the descriptors of the Multimedia Viewer.
inline constexpr int NewFontFacenamesOffset = 12;
inline constexpr int NewFontDescriptorSize = 46;
enum FontFamily : std::uint8_t {
    FamilyModern = 1,
    FamilyRoman = 2,
    FamilySwiss = 3,
    FamilyScript = 4,
    FamilyDecorative = 5,
};
enum FontAttribute : std::uint8_t {
    FontBold = 0x01,
    FontItalic = 0x02,
    FontUnderline = 0x04,
    FontStrikeOut = 0x08,
    FontDoubleUnderline = 0x10,
    FontSmallCaps = 0x20,
};
// The text colour bytes 01 01 00 (R, G, B) mean "automatic", as 0xRRGGBB.
inline constexpr std::uint32_t AutomaticColour = 0x010100;

// -------------------------------------------------------------------- |TOPIC

inline constexpr int TopicBlockSize = 0x1000;       // 4 KB blocks (3.1 and later)
inline constexpr int TopicBlockSize30 = 0x800;      // 2 KB blocks (3.0, and compressed flags 8)
inline constexpr int TopicBlockHeaderSize = 12;
inline constexpr int DecompressedBlockSize = 0x4000; // what one compressed block may hold
inline constexpr std::uint32_t TopicPosBlockShift = 14;    // TOPICPOS = block << 14 | 12 + offset
inline constexpr std::uint32_t TopicOffsetBlockShift = 15; // TOPICOFFSET = block << 15 | characters
inline constexpr int RecordHeaderSize = 21;
inline constexpr int TopicHeaderSize = 28;   // LinkData1 of a topic header (3.1 and later)
inline constexpr int TopicHeaderSize30 = 12; // LinkData1 of a topic header (3.0)
inline constexpr std::int32_t NoTopicPos = -1;   // an unused TOPICPOS link (record chain, topic header)
// The BlockSize of the empty topic header that ends the topic chain.
inline constexpr std::int32_t EndTopicBlockSize = 24;
// A text record's LinkData1 after its sizes: two bytes always 0x00 0x80,
// then a paragraph id always 0.
inline constexpr std::uint8_t TextRecordByte0 = 0x00;
inline constexpr std::uint8_t TextRecordByte1 = 0x80;

enum RecordType : std::uint8_t {
    RecordText30 = 0x01,
    RecordTopicHeader = 0x02,
    RecordText = 0x20,
    RecordTable = 0x23,
};

// Paragraph info bits: the optional fields follow in this order.
enum ParagraphBit : std::uint16_t {
    ParagraphUnknownLong = 0x0001,
    ParagraphSpaceBefore = 0x0002,
    ParagraphSpaceAfter = 0x0004,
    ParagraphLineSpacing = 0x0008,
    ParagraphLeftIndent = 0x0010,
    ParagraphRightIndent = 0x0020,
    ParagraphFirstIndent = 0x0040,
    ParagraphBorder = 0x0100,
    ParagraphTabs = 0x0200,
    ParagraphRightAligned = 0x0400,
    ParagraphCentred = 0x0800,
    ParagraphKeepTogether = 0x1000,
};
inline constexpr int ParagraphUnitTwips = 10; // paragraph metrics are stored in 10-twip units
inline constexpr int MaxTabStops = 64;

enum BorderBit : std::uint8_t {
    BorderBox = 0x01,
    BorderTop = 0x02,
    BorderLeft = 0x04,
    BorderBottom = 0x08,
    BorderRight = 0x10,
    BorderThick = 0x20,
    BorderDouble = 0x40,
};
inline constexpr int TabPositionMask = 0x3FFF;
inline constexpr int TabHasType = 0x4000;
enum TabType { TabLeft = 0, TabRight = 1, TabCentre = 2 };

// Table records: column count, table type, optional minimum width.
inline constexpr int TableEnd = -1; // the column number after a row's last cell
enum TableType { TableVariable = 0, TableFixed = 1, TableVariable2 = 2, TableFixed2 = 3 };
inline constexpr int TableShares = 32767; // variable widths are shares of this

// Text commands in LinkData1.
enum TextCommand : std::uint8_t {
    CommandField = 0x20,      // s32 (Multimedia Viewer)
    CommandDataType = 0x21,   // s16 (Multimedia Viewer)
    CommandFont = 0x80,       // u16 descriptor
    CommandLineBreak = 0x81,
    CommandParagraphEnd = 0x82,
    CommandTab = 0x83,
    CommandObjectInLine = 0x86, // picture or embedded window
    CommandObjectLeft = 0x87,
    CommandObjectRight = 0x88,
    CommandHotspotEnd = 0x89,
    CommandNonBreakingSpace = 0x8B,
    CommandNonBreakingHyphen = 0x8C,
    CommandMacro = 0xC8,          // u16 length, macro with NUL
    CommandMacroPlain = 0xCC,     // the same, drawn without hotspot colour
    CommandPopup30 = 0xE0,        // s32 topic number
    CommandJump30 = 0xE1,
    CommandPopup = 0xE2,          // s32 context hash
    CommandJump = 0xE3,
    CommandPopupPlain = 0xE6,
    CommandJumpPlain = 0xE7,
    CommandPopupFile = 0xEA,      // u16 length, kind, hash, window/file
    CommandJumpFile = 0xEB,
    CommandPopupFilePlain = 0xEE,
    CommandJumpFilePlain = 0xEF,
    CommandEnd = 0xFF,
};
inline constexpr std::uint8_t HotspotJumpBit = 0x01;  // set: jump, clear: pop-up
inline constexpr std::uint8_t HotspotPlainBit = 0x04; // set: no hotspot colour or underline

// The kind byte of the E8..EF hotspots' argument.
enum LinkKind : std::uint8_t {
    LinkSameFile = 0,
    LinkWindow = 1,     // u8 window number follows
    LinkFile = 4,       // STRINGZ file follows
    LinkFileWindow = 6, // STRINGZ window, STRINGZ file follow
};

// The object after 0x86..0x88.
enum ObjectType : std::uint8_t {
    ObjectPicture30 = 0x03,
    ObjectEmbeddedWindow = 0x05,
    ObjectPicture = 0x22,
};
// Picture objects: s16 0 (the picture is an internal file of its own), s16
// the N of |bmN. Embedded windows: three s16 of unknown use, written 0.
inline constexpr std::int16_t PictureInOwnFile = 0;
inline constexpr int EmbeddedWindowUnknownWords = 3;
inline constexpr char ButtonPrefix = '!';
inline constexpr char MediaPrefix = '*';

// ------------------------------------------------------ phrase compression

inline constexpr int PhraseHeaderSize = 8;            // count, 0x0100, text size
inline constexpr int PhraseHeaderSize30 = 4;          // count, 0x0100
inline constexpr std::uint16_t PhraseViewerMagic = 0x0800;
inline constexpr int MaxPhraseCodeByte = 15;          // bytes 1..15 start a phrase code
inline constexpr std::uint32_t HallIndexMagic = 1;
inline constexpr int HallIndexHeaderSize = 28;

// ---------------------------------------------------------------- pictures

inline constexpr std::uint16_t PictureMagicBitmap = 0x506C;
inline constexpr std::uint16_t PictureMagicMultiResolution = 0x706C;
inline constexpr int PictureFileHeaderSize = 4; // magic, picture count; a u32 offset per picture follows
enum PictureType : std::uint8_t { PictureDdb = 5, PictureDib = 6, PictureMetafile = 8 };
enum PicturePacking : std::uint8_t { PackingNone = 0, PackingRle = 1, PackingLz77 = 2, PackingLz77Rle = 3 };
inline constexpr std::uint8_t PictureHotspotMagic = 1;
inline constexpr int PictureHotspotSize = 15;
inline constexpr std::uint32_t PlaceableMetafileKey = 0x9AC6CDD7;
inline constexpr int PlaceableMetafileUnitsPerInch = 2540;
inline constexpr int PlaceableMetafileHeaderSize = 22;

// -------------------------------------------------------------------- LZ77

inline constexpr int Lz77MinMatch = 3;
inline constexpr int Lz77MaxMatch = 18;
inline constexpr int Lz77Window = 4096;
inline constexpr int Lz77DistanceBits = 12; // a match word: (length - 3) << 12 | (distance - 1)
inline constexpr int Lz77ItemsPerFlag = 8;  // a flag byte, then 8 literals or matches

// ---------------------------------------------------------- context hashes

inline constexpr std::int32_t EmptyTopicIdHash = 1;
inline constexpr std::uint32_t NoTopicOffset = 0xFFFFFFFF; // a [MAP] entry without topic

} // namespace ts::helpfile::format
