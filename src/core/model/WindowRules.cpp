#include "WindowRules.h"

#include "UserInteger.h"

#include <cmath>
#include <limits>

namespace ts {

namespace {

int roundToInt(double value)
{
    if (!(value > double(std::numeric_limits<int>::min())))
        return std::numeric_limits<int>::min();
    if (!(value < double(std::numeric_limits<int>::max())))
        return std::numeric_limits<int>::max();
    // The default rounding mode takes halves to the even neighbour.
    return int(std::nearbyint(value));
}

} // namespace

WindowFields loadWindowFields(const WindowRecord& window)
{
    WindowFields f;
    f.Caption = window.Caption.text();
    f.Left = QString::number(window.Left);
    f.Width = QString::number(window.Width);
    f.Top = QString::number(window.Top);
    f.Height = QString::number(window.Height);
    f.DefaultPosition = window.DefaultPosition;
    f.AutoSizeHeight = window.AutoSizeHeight;
    f.OnTop = window.OnTop;
    f.NonScrollColour = window.NonScrollColour;
    f.TopicColour = window.TopicColour;
    f.Buttons = window.Buttons;
    return f;
}

std::optional<QString> storeWindowFields(WindowRecord& window, const WindowFields& fields)
{
    window.Caption.setText(fields.Caption);
    const std::pair<const QString*, std::int32_t*> boxes[] = {
        {&fields.Left, &window.Left},
        {&fields.Width, &window.Width},
        {&fields.Top, &window.Top},
        {&fields.Height, &window.Height},
    };
    for (const auto& [text, target] : boxes) {
        const std::optional<int> value = parseUserInteger(*text);
        if (!value)
            return notAnIntegerMessage(*text);
        *target = *value;
    }
    window.DefaultPosition = fields.DefaultPosition;
    window.AutoSizeHeight = fields.AutoSizeHeight;
    window.OnTop = fields.OnTop;
    // Colours are 0x00BBGGRR: the top byte is never stored.
    window.NonScrollColour = fields.NonScrollColour & 0xFFFFFFu;
    window.TopicColour = fields.TopicColour & 0xFFFFFFu;
    window.Buttons = fields.Buttons;
    return std::nullopt;
}

bool windowFieldsHoldIntegers(const WindowFields& fields)
{
    for (const QString* text : {&fields.Left, &fields.Width, &fields.Top, &fields.Height})
        if (!parseUserInteger(*text))
            return false;
    return true;
}

std::optional<QString> checkNewWindowName(const QString& name)
{
    if (name.isEmpty())
        return WindowMessages::noNewName();
    if (name.size() > 8)
        return WindowMessages::nameTooLong();
    return std::nullopt;
}

int addWindowLikeMain(Project& project, const QString& name)
{
    WindowRecord window = project.window(0);
    window.Name.setText(name);
    if (!project.addWindow(window))
        return -1;
    return project.WindowCount() - 1;
}

int windowState(const WindowRecord& window)
{
    int state = WindowStateBase;
    for (int i = 0; i < ButtonCount; ++i)
        if (window.Buttons[size_t(i)])
            state += ButtonStateWeights[i];
    return state;
}

int helpUnitsToPixels(int units, int screenPixels)
{
    if (screenPixels <= 0)
        return 0;
    return roundToInt(double(units) / (1024.0 / double(screenPixels)));
}

int pixelsToHelpUnits(int pixels, int screenPixels)
{
    if (screenPixels <= 0)
        return 0;
    return roundToInt(1024.0 / double(screenPixels) * double(pixels));
}

namespace WindowMessages {

QString tooManyWindows()
{
    return QStringLiteral("You cannot have more than 255 windows.");
}

QString noNewName()
{
    return QStringLiteral("Please type in the name of the new window!");
}

QString nameTooLong()
{
    return QStringLiteral("A window name cannot have more than 8 characters!");
}

QString cannotDeleteMain()
{
    return QStringLiteral("You cannot delete the main window!");
}

QString deleteCaption()
{
    return QStringLiteral("Delete window?");
}

QString deleteQuestion(const QString& name)
{
    return QStringLiteral("You are about to delete Window: ") + name
           + QStringLiteral("\rAll topics assigned to this window will be reset to the \"main\" window.\rAre you sure?");
}

QString invalidSizeOrPosition()
{
    return QStringLiteral("Invalid Window size or position");
}

} // namespace WindowMessages

} // namespace ts
