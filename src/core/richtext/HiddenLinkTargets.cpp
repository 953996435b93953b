#include "richtext/HiddenLinkTargets.h"

#include "model/Windows1252.h"

#include <algorithm>

namespace ts {

namespace {

// The characters a Topic ID never holds (see TopicRules).
bool isTopicIdCharacter(QChar c)
{
    static const QString refused = QStringLiteral("#=+@*%!>;\"{}\\");
    return !c.isSpace() && c.unicode() >= 0x20 && !refused.contains(c);
}

enum class HotspotKind { None, Jump, Popup };

HotspotKind hotspotKind(const CharFormat& f)
{
    if (f.Hidden)
        return HotspotKind::None;
    if (f.Strike || f.DoubleUnderline)
        return HotspotKind::Jump;
    return f.Underline ? HotspotKind::Popup : HotspotKind::None;
}

// The hidden runs from `at` on, as one target; `end` receives the index after
// them. Empty when they name no target.
QString hiddenTargetAt(const std::vector<Run>& runs, std::size_t at, std::size_t* end)
{
    // The program's own markup with its arrow hidden is left as it is; most
    // hidden text is that, and is passed over without copying it.
    if (runs[at].Text.startsWith(QLatin1String("-->"))) {
        *end = at + 1;
        return QString();
    }
    QString text;
    std::size_t i = at;
    for (; i < runs.size() && runs[i].Format.Hidden; ++i)
        text += runs[i].Text;
    // Text in a symbol font holds its bytes as U+F000 + byte; a target reads
    // as those bytes would in any other font, so that a hidden text is a
    // target or not whichever font it is written in.
    for (QChar& c : text)
        if (c.unicode() >= 0xF000 && c.unicode() <= 0xF0FF) {
            const char byte = char(c.unicode() - 0xF000);
            c = cp1252::decode(&byte, 1).front();
        }
    *end = i;
    text = text.trimmed();
    // The program's own markup with its arrow hidden is left as it is.
    if (text.startsWith(QLatin1String("-->")))
        return QString();
    if (text.startsWith(QLatin1Char('%')) || text.startsWith(QLatin1Char('*')))
        text = text.mid(1);
    return isLinkTarget(text) ? text : QString();
}

} // namespace

bool isLinkTarget(const QString& text)
{
    if (text.startsWith(QLatin1Char('!')))
        return !text.mid(1).trimmed().isEmpty();
    QString id = text;
    QString file, window;
    if (const qsizetype at = id.indexOf(QLatin1Char('@')); at >= 0) {
        file = id.mid(at + 1);
        id.truncate(at);
        if (file.trimmed().isEmpty())
            return false;
        if (const qsizetype gt = file.indexOf(QLatin1Char('>')); gt >= 0) {
            window = file.mid(gt + 1);
            file.truncate(gt);
            if (window.isEmpty() || file.trimmed().isEmpty())
                return false;
        }
    }
    if (const qsizetype gt = id.indexOf(QLatin1Char('>')); gt >= 0) {
        if (!window.isEmpty())
            return false;
        window = id.mid(gt + 1);
        id.truncate(gt);
        if (window.isEmpty())
            return false;
    }
    if (id.isEmpty() || !std::all_of(id.begin(), id.end(), isTopicIdCharacter))
        return false;
    return std::none_of(window.begin(), window.end(),
                        [](QChar c) { return c.isSpace() || c == QLatin1Char('@') || c == QLatin1Char('>'); });
}

bool hasHiddenTargets(const Paragraph& paragraph)
{
    const std::vector<Run>& runs = paragraph.Runs;
    if (runs.size() < 2)
        return false;
    for (std::size_t i = 1; i < runs.size(); ++i) {
        std::size_t end = 0;
        if (runs[i].Format.Hidden && hotspotKind(runs[i - 1].Format) != HotspotKind::None
            && !hiddenTargetAt(runs, i, &end).isEmpty())
            return true;
    }
    return false;
}

bool hiddenTargetsToMarkup(Paragraph& paragraph)
{
    std::vector<Run>& runs = paragraph.Runs;
    bool changed = false;
    for (std::size_t i = 1; i < runs.size(); ++i) {
        if (!runs[i].Format.Hidden)
            continue;
        const HotspotKind kind = hotspotKind(runs[i - 1].Format);
        std::size_t end = 0;
        const QString target = kind == HotspotKind::None ? QString() : hiddenTargetAt(runs, i, &end);
        if (target.isEmpty())
            continue;
        // The hotspot text is every run before the target that reads as the
        // same kind of hotspot; it takes the program's style for that kind.
        std::size_t first = i - 1;
        while (first > 0 && hotspotKind(runs[first - 1].Format) == kind)
            --first;
        for (std::size_t k = first; k < i; ++k) {
            CharFormat& f = runs[k].Format;
            f.Strike = kind == HotspotKind::Jump;
            f.Underline = kind == HotspotKind::Popup;
            f.DoubleUnderline = false;
        }
        // An arrow already ends the hotspot text when only the target was hidden.
        QString& hotspot = runs[i - 1].Text;
        hotspot += hotspot.endsWith(QLatin1String("-->")) ? target : QStringLiteral("-->") + target;
        runs.erase(runs.begin() + std::ptrdiff_t(i), runs.begin() + std::ptrdiff_t(end));
        changed = true;
    }
    if (changed) {
        RichDocument merged;
        merged.Paragraphs = {paragraph};
        merged.normalize();
        paragraph = std::move(merged.Paragraphs.front());
    }
    return changed;
}

} // namespace ts
