#pragma once
// The rules of the window definitions editor, without the dialog: the
// transfer of a window record to and from the editor's fields, the check of
// a new window's name, adding a window as a copy of "main", and the
// conversion between help units and screen pixels used by the auto-size
// dialog.
//
// Nothing here shows a message; refusals come back as the text the editor
// shows.

#include "Project.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace ts {

// The values the editor shows for one window, as its controls hold them:
// the position and size boxes as typed text.
struct WindowFields {
    QString Caption;
    QString Left;
    QString Width;
    QString Top;
    QString Height;
    bool DefaultPosition = false;
    bool AutoSizeHeight = false;
    bool OnTop = false;
    std::uint32_t NonScrollColour = 0;
    std::uint32_t TopicColour = 0;
    std::array<bool, ButtonCount> Buttons{};
};

// The fields of `window`, the numbers as decimal text.
WindowFields loadWindowFields(const WindowRecord& window);

// Stores `fields` into `window` in the editor's order: caption, then Left,
// Width, Top and Height, then the flags, the colours and the buttons. A box
// that does not hold an integer stops the store there and its refusal
// ("'<text>' is not a valid integer value") is returned; what was stored
// before it keeps its new value.
std::optional<QString> storeWindowFields(WindowRecord& window, const WindowFields& fields);

// True when Left, Width, Top and Height all hold integers.
bool windowFieldsHoldIntegers(const WindowFields& fields);

// The refusal of a name typed for a new window, or nothing when it may be
// used. Names are 1 to 8 characters; they need not be unique.
std::optional<QString> checkNewWindowName(const QString& name);

// Appends a window that is a copy of window 0 with `name`; the index of the
// new window, or -1 when 255 windows are live already.
int addWindowLikeMain(Project& project, const QString& name);

// The window state number the help compiler reads from the project file and
// stores in the help file: 4 plus the weight of each button shown (Browse
// 512, Contents 1024, Index 2048, Print 8192, Back 16384, Find 32768).
inline constexpr int WindowStateBase = 4;
inline constexpr int ButtonStateWeights[ButtonCount] = {0x200, 0x400, 0x800, 0x2000, 0x4000, 0x8000};
int windowState(const WindowRecord& window);

// Help units span the screen: 1024 units are `screenPixels` pixels. Both
// directions round halves to the even neighbour; results outside the range
// of int are held at its ends.
int helpUnitsToPixels(int units, int screenPixels);
int pixelsToHelpUnits(int pixels, int screenPixels);

namespace WindowMessages {
QString tooManyWindows();         // "You cannot have more than 255 windows."
QString noNewName();              // "Please type in the name of new window!"
QString nameTooLong();            // "A window name cannot have more than 8 characters!"
QString cannotDeleteMain();       // "You cannot delete the main window!"
QString deleteCaption();          // "Delete window?"
QString deleteQuestion(const QString& name);
QString invalidSizeOrPosition();  // "Invalid Window size or position"
} // namespace WindowMessages

} // namespace ts
