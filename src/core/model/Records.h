#pragma once
// The two records of the project: a topic and a help window definition.

#include "CountedString.h"

#include <QByteArray>
#include <array>
#include <cstdint>

namespace ts {

// One topic. The record owns its two blocks of RTF; an empty block means
// "no block held" (length 0).
struct TopicRecord {
    CountedString<50> TopicID;    // upper case, no blanks, unique
    bool HasCallId = false;        // callable from an application by number
    std::int32_t CallId = 0;       // the Application Call ID; 0 unless HasCallId
    std::int32_t WindowIndex = 0; // index into the window table; 0 is "main"
    CountedString<255> Keywords;
    CountedString<50> Title;
    QByteArray HeaderRtf;         // the non-scrolling area, as the editor wrote it
    QByteArray BodyRtf;           // the topic area

    std::int32_t HeaderLen() const { return std::int32_t(HeaderRtf.size()); }
    std::int32_t BodyLen() const { return std::int32_t(BodyRtf.size()); }

    // Every field back to the state of a free slot.
    void clear() { *this = TopicRecord(); }

    friend bool operator==(const TopicRecord&, const TopicRecord&) = default;
};

// The six buttons a help window can show, in their stored order.
enum WindowButton { Browse = 0, Contents, Index, Print, Back, Find, ButtonCount };

// One help window definition. Colours are 0x00BBGGRR; positions and sizes in
// help units (1024 span the screen).
struct WindowRecord {
    CountedString<30> Name;
    std::uint32_t NonScrollColour = 0xC0C0C0;
    std::uint32_t TopicColour = 0xDCFFFF;
    bool OnTop = false;
    bool AutoSizeHeight = false;
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Width = 300;
    std::int32_t Height = 300;
    CountedString<100> Caption;
    bool DefaultPosition = true;
    std::array<bool, ButtonCount> Buttons{};

    friend bool operator==(const WindowRecord&, const WindowRecord&) = default;

    // The window every project starts with in slot 0.
    static WindowRecord defaultWindow();
};

// Size of a window record in the project file.
inline constexpr int WindowRecordSize = 168;
// Size of a topic entry's fixed part in the project file.
inline constexpr int TopicEntryFixedSize = 375;

} // namespace ts
