#pragma once
// The main window's status bar: four text panels (200, at least 100 and
// right-aligned, 200 and 200 pixels wide; the second as wide as the longest
// activity text in the current font) and the progress bar progressBar
// (0..100) lying over the third panel. Panel 0 names the project, panel 1 says
// what a long command is doing; progressBar shows that command's progress
// and is hidden while no command runs.
// Panel 3 (the last, stretched over the room left) reports a command's result.

#include <QStatusBar>

class QLabel;
class QProgressBar;

namespace ts {

class StatusBar : public QStatusBar {
    Q_OBJECT
public:
    static constexpr int PanelCount = 4;
    // The panel that reports the last compile's result.
    static constexpr int ResultPanel = 3;

    explicit StatusBar(QWidget* parent = nullptr);

    QString panelText(int panel) const;
    // Sets the text and paints it at once, so that a command that does not
    // return to the event loop still shows what it is doing.
    void setPanelText(int panel, const QString& text);

    // Adds `step` to progressBar and repaints it when its value changed.
    void advance(int step);
    // progressBar back to 0 (and out of sight) and panel 1 emptied: the end
    // of a long command.
    void finishActivity();
    // A command's result: shown whole across the bar for a while, and kept
    // in panel 3 (shortened there when the room is short, whole as its tool
    // tip) until the next result.
    void showResult(const QString& text);
    static constexpr int ResultShownMs = 10000;

    QProgressBar* progressBar;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void placeProgressBar();
    // Panels 0 (the project's name) and 3 (the result) show a text longer
    // than their room shortened, with the whole text as their tool tip.
    static bool isShortened(int panel) { return panel == 0 || panel == ResultPanel; }
    void showWhole(int panel);
    QLabel* panels_[PanelCount];
    QString whole_[PanelCount]; // the shortened panels' whole texts
};

} // namespace ts
