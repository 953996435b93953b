#include "HelpImportWindows.h"

namespace ts::helpimport {
namespace {

constexpr int ButtonWeights[ButtonCount] = {0x200, 0x400, 0x800, 0x2000, 0x4000, 0x8000};
// The state word the program writes besides the buttons (shown normally).
constexpr int ShownState = 4;
// The longest window name a help file stores.
constexpr int HelpFileNameLength = 8;

bool isMain(const HelpWindowDefinition& window) { return window.name.compare(QStringLiteral("main"), Qt::CaseInsensitive) == 0; }

QString windowLabel(const HelpWindowDefinition& window, int index)
{
    return window.name.isEmpty() ? QStringLiteral("number %1").arg(index) : window.name;
}

// Logs what the record loses; the state word's other bits are gathered
// into `otherBits`, for one line.
void logWhatIsLost(const HelpWindowDefinition& window, int index, ImportLog& log, QStringList& otherBits)
{
    const QString label = windowLabel(window, index);
    if (window.name.size() > HelpFileNameLength)
        log.note(QStringLiteral("Window %1: the name is longer than a help file keeps (8 characters); the compiler "
                                "stores its first 8")
                     .arg(label));
    int other = window.state & ~ShownState;
    for (const int weight : ButtonWeights)
        other &= ~weight;
    if (other != 0)
        otherBits << QStringLiteral("%1 0x%2").arg(label, QString::number(other, 16).toUpper());
    const bool somePosition = window.has(HelpWindowDefinition::XValid) || window.has(HelpWindowDefinition::YValid)
                              || window.has(HelpWindowDefinition::WidthValid) || window.has(HelpWindowDefinition::HeightValid);
    if (somePosition && !window.hasPosition())
        log.note(QStringLiteral("Window %1: only part of its position and size is given; it uses the default "
                                "position")
                     .arg(label));
    if (!window.configMacros.isEmpty())
        log.note(QStringLiteral("Window %1: the macros it runs when it opens are not kept: %2")
                     .arg(label, window.configMacros.join(QStringLiteral("; "))));
}

} // namespace

std::uint32_t projectColour(std::uint32_t rgb)
{
    return (rgb & 0xFF) << 16 | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

WindowRecord windowRecordFrom(const HelpWindowDefinition& window)
{
    WindowRecord w = WindowRecord::defaultWindow();
    w.Name.setText(window.name);
    w.Caption.setText(window.has(HelpWindowDefinition::CaptionValid) ? window.caption : QString());
    w.DefaultPosition = !window.hasPosition();
    if (window.hasPosition()) {
        w.Left = window.x;
        w.Top = window.y;
        w.Width = window.width;
        w.Height = window.height;
    }
    w.TopicColour = window.has(HelpWindowDefinition::ScrollingColourValid) ? projectColour(window.scrollingColour) : 0xFFFFFF;
    w.NonScrollColour =
        window.has(HelpWindowDefinition::NonScrollingColourValid) ? projectColour(window.nonScrollingColour) : 0xFFFFFF;
    w.OnTop = window.onTop();
    w.AutoSizeHeight = window.autoSizeHeight();
    for (int b = 0; b < ButtonCount; ++b)
        w.Buttons[size_t(b)] = (window.state & ButtonWeights[b]) != 0;
    return w;
}

std::vector<int> importWindows(const HelpDocument& document, Project& project, ImportLog& log)
{
    const int count = int(document.windows.size());
    std::vector<int> index(size_t(count), 0);
    QStringList otherBits;
    int main = -1;
    for (int k = 0; k < count && main < 0; ++k)
        if (isMain(document.windows[size_t(k)]))
            main = k;
    // Without a definition of its own, "main" looks as a viewer shows it.
    project.window(0).TopicColour = 0xFFFFFF;
    project.window(0).NonScrollColour = 0xFFFFFF;
    if (main >= 0) {
        project.window(0) = windowRecordFrom(document.windows[size_t(main)]);
        logWhatIsLost(document.windows[size_t(main)], main, log, otherBits);
    }
    QStringList left;
    for (int k = 0; k < count; ++k) {
        if (k == main)
            continue;
        const HelpWindowDefinition& window = document.windows[size_t(k)];
        WindowRecord record = windowRecordFrom(window);
        if (window.name.isEmpty()) {
            record.Name.setText(QStringLiteral("win%1").arg(k));
            log.note(QStringLiteral("Window number %1 has no name; it is named %2").arg(k).arg(record.Name.text()));
        }
        if (!project.addWindow(record)) {
            left << windowLabel(window, k);
            continue;
        }
        index[size_t(k)] = project.WindowCount() - 1;
        logWhatIsLost(window, k, log, otherBits);
    }
    if (!otherBits.isEmpty())
        log.note(QStringLiteral("Bits of the windows' state words other than the buttons, which a project can not "
                                "hold: %1")
                     .arg(otherBits.join(QStringLiteral(", "))));
    if (!left.isEmpty())
        log.note(QStringLiteral("A project holds at most %1 windows; these are left out and their topics open in "
                                "\"main\": %2")
                     .arg(Project::MaxWindows)
                     .arg(left.join(QStringLiteral(", "))));
    return index;
}

} // namespace ts::helpimport
