#include "HelpMacroRunner.h"

#include "HelpButtonBar.h"
#include "HelpViewer.h"
#include "Prompter.h"

#include <QPointer>

namespace ts {
namespace {

constexpr int MaximumDepth = 8;

// "file.hlp>window" -> file and window; either may be empty.
std::pair<QString, QString> fileAndWindow(const QString& text)
{
    const qsizetype at = text.indexOf(QLatin1Char('>'));
    if (at < 0)
        return {text.trimmed(), QString()};
    return {text.left(at).trimmed(), text.mid(at + 1).trimmed()};
}

} // namespace

HelpMacroRunner::HelpMacroRunner(HelpViewer& viewer, Prompter& prompter) : viewer_(viewer), prompter_(prompter) {}

void HelpMacroRunner::run(const QString& text, HelpViewerWindow* from, const QPoint& globalPos, Source source)
{
    if (depth_ >= MaximumDepth)
        return;
    ++depth_;
    QPointer<HelpViewerWindow> window(from);
    const HelpMacroList list = parseHelpMacros(text);
    QStringList refused, notSupported;
    for (const HelpMacroCall& call : list.calls) {
        const HelpMacroDecision decision = policy_.decide(call);
        switch (decision.kind) {
        case HelpMacroDecision::Kind::Run:
            execute(call, window, globalPos);
            break;
        case HelpMacroDecision::Kind::OpenAddress:
            viewer_.offerAddress(decision.detail, window);
            break;
        case HelpMacroDecision::Kind::RunsProgram:
            if (source == Source::User || !refusalsTold_.contains(decision.detail))
                refused.append(decision.detail);
            break;
        case HelpMacroDecision::Kind::NotSupported:
            notSupported.append(call.name);
            break;
        }
        // A macro may have closed the window it came from.
        if (!window)
            window = viewer_.mainWindow();
        if (!window && !viewer_.windows().isEmpty())
            window = viewer_.windows().first();
    }
    if (!list.error.isEmpty())
        notSupported.append(QStringLiteral("a macro that could not be read (%1)").arg(list.error));
    refused.removeDuplicates();
    refusalsTold_.append(refused);
    if (batchDepth_ > 0)
        batchedRefusals_.append(refused);
    else if (!refused.isEmpty())
        prompter_.message(window, HelpMacroPolicy::refusalMessage(refused), QStringLiteral("Topicsmith"),
                          Prompter::Buttons::Ok, Prompter::Icon::Warning);
    if (!notSupported.isEmpty() && window) {
        QString notice = window->notice();
        notice += (notice.isEmpty() ? QStringLiteral("Not supported by this viewer: ") : QStringLiteral(", "))
                  + notSupported.join(QStringLiteral(", "));
        window->setNotice(notice);
    }
    --depth_;
}

void HelpMacroRunner::endBatch(HelpViewerWindow* window)
{
    if (batchDepth_ > 0 && --batchDepth_ > 0)
        return;
    batchedRefusals_.removeDuplicates();
    if (!batchedRefusals_.isEmpty())
        prompter_.message(window, HelpMacroPolicy::refusalMessage(batchedRefusals_), QStringLiteral("Topicsmith"),
                          Prompter::Buttons::Ok, Prompter::Icon::Warning);
    batchedRefusals_.clear();
}

void HelpMacroRunner::execute(const HelpMacroCall& call, HelpViewerWindow* from, const QPoint& globalPos)
{
    if (executeNavigation(call, from, globalPos) || executeButtons(call, from))
        return;
    if (call.is(QStringLiteral("About")))
        viewer_.showAbout(from);
    else if (call.is(QStringLiteral("CloseSecondarys")))
        viewer_.closeSecondaryWindows(from);
    else if (call.is(QStringLiteral("CloseWindow")))
        viewer_.closeWindow(call.arg(0).isEmpty() ? QStringLiteral("main") : call.arg(0));
    else if (call.is(QStringLiteral("CopyTopic")))
        viewer_.copyTopic(from);
    else if (call.is(QStringLiteral("Exit")))
        viewer_.closeAll();
    else if (call.is(QStringLiteral("FocusWindow"))) {
        if (HelpViewerWindow* w = viewer_.window(call.arg(0)))
            w->activateWindow();
    } else if (call.is(QStringLiteral("Print")))
        viewer_.printTopic(from);
    else if (call.is(QStringLiteral("SetPopupColor"))) {
        // SetPopupColor(r, g, b) or SetPopupColor(0x00BBGGRR).
        if (call.args.size() >= 3)
            viewer_.popupColour = QColor(int(call.number(0).value_or(255)) & 0xFF, int(call.number(1).value_or(255)) & 0xFF,
                                        int(call.number(2).value_or(255)) & 0xFF);
        else if (const auto colourRef = call.number(0))
            viewer_.popupColour = QColor(int(*colourRef & 0xFF), int((*colourRef >> 8) & 0xFF), int((*colourRef >> 16) & 0xFF));
    }
    // Flush has nothing to wait for here.
}

bool HelpMacroRunner::executeNavigation(const HelpMacroCall& call, HelpViewerWindow* from, const QPoint& globalPos)
{
    const auto [file, window] = fileAndWindow(call.arg(0));
    if (call.is(QStringLiteral("JumpId")))
        // JumpId(`id') names no file.
        call.args.size() < 2 ? viewer_.jump(QString(), call.arg(0), QString(), from)
                             : viewer_.jump(file, call.arg(1), window, from);
    else if (call.is(QStringLiteral("JumpHash")))
        viewer_.jump(file, HelpDocument::hashText(std::int32_t(call.number(1).value_or(0))), window, from);
    else if (call.is(QStringLiteral("JumpContext")) || call.is(QStringLiteral("PopupContext"))) {
        // The [MAP] number is the named file's.
        const HelpDocument* document = viewer_.documentFor(file);
        if (!document)
            return true;
        const HelpLocation location = document->locateMapNumber(int(call.number(1).value_or(-1)));
        if (!location.isValid())
            viewer_.showTopic(-1);
        else if (call.is(QStringLiteral("PopupContext")))
            viewer_.showPopup(file, location.topic, globalPos, from);
        else
            viewer_.jumpToLocation(file, location, window, from);
    } else if (call.is(QStringLiteral("PopupId")) || call.is(QStringLiteral("PopupHash"))) {
        const bool byHash = call.is(QStringLiteral("PopupHash"));
        const QString id = byHash ? HelpDocument::hashText(std::int32_t(call.number(1).value_or(0))) : call.arg(1);
        const int topic = file.isEmpty() ? viewer_.document().findTopic(id) : -2;
        if (topic == -2) {
            HelpHotspot hotspot;
            hotspot.kind = HelpHotspot::Kind::Popup;
            hotspot.file = file;
            hotspot.targetId = id;
            viewer_.activateHotspot(hotspot, from, globalPos);
        } else
            viewer_.showPopup(QString(), topic, globalPos, from);
    } else if (call.is(QStringLiteral("JumpContents")))
        viewer_.jumpContents(file, window, from);
    else if (call.is(QStringLiteral("JumpKeyword")))
        viewer_.jumpKeyword(file, call.arg(1), from);
    else if (call.is(QStringLiteral("ALink")) || call.is(QStringLiteral("KLink")))
        viewer_.keywordLink(call.is(QStringLiteral("ALink")) ? QLatin1Char('A') : QLatin1Char('K'), call.arg(0),
                            int(call.number(1).value_or(0)), call.arg(2), call.arg(3), from);
    else if (call.is(QStringLiteral("Back")))
        viewer_.back(from);
    else if (call.is(QStringLiteral("BackFlush"))) {
        if (from)
            from->backList.clear();
    } else if (call.is(QStringLiteral("Prev")) || call.is(QStringLiteral("Next")))
        viewer_.browse(from, call.is(QStringLiteral("Next")));
    else if (call.is(QStringLiteral("Contents")))
        viewer_.showContents(from);
    else if (call.is(QStringLiteral("Search")))
        viewer_.showTopicsDialog(HelpTopicsDialog::Tab::Index);
    else if (call.is(QStringLiteral("Find")))
        viewer_.showTopicsDialog(HelpTopicsDialog::Tab::Find);
    else if (call.is(QStringLiteral("Finder")))
        viewer_.showLastTopicsTab();
    else if (call.is(QStringLiteral("History")))
        viewer_.showHistory();
    else if (call.is(QStringLiteral("SetContents"))) {
        const HelpLocation location = viewer_.document().locateMapNumber(int(call.number(1).value_or(-1)));
        if (location.isValid())
            viewer_.setContentsTopic(location.topic);
    } else
        return false;
    return true;
}

bool HelpMacroRunner::executeButtons(const HelpMacroCall& call, HelpViewerWindow* from)
{
    if (!from)
        return call.is(QStringLiteral("BrowseButtons")) || call.macro.endsWith(QStringLiteral("Button"))
               || call.is(QStringLiteral("ChangeButtonBinding"));
    HelpButtonBar* bar = from->buttonBar;
    if (call.is(QStringLiteral("BrowseButtons")))
        viewer_.addBrowseButtons(from);
    else if (call.is(QStringLiteral("CreateButton"))) {
        bar->addButton(call.arg(0), call.arg(1), call.arg(2));
        bar->show();
    } else if (call.is(QStringLiteral("DestroyButton")))
        bar->removeButton(call.arg(0));
    else if (call.is(QStringLiteral("ChangeButtonBinding")))
        bar->bindButton(call.arg(0), call.arg(1));
    else if (call.is(QStringLiteral("DisableButton")) || call.is(QStringLiteral("EnableButton")))
        bar->setDisabledByFile(call.arg(0), call.is(QStringLiteral("DisableButton")));
    else
        return false;
    return true;
}

} // namespace ts
