#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <ombrelis/engine/WindowOperations.h>
#include <string>

namespace ombrelis::ui {

class Form1;

/// The run's window operations on the main window: the texts of ctlNomdefichier, ctlVitesse
/// and ctlAxetemps, the value of Simu, the enabled state of btnSTOP, the caption of ctl,
/// btnSTOP_Click, and the window's strip chart on ctlCourbe.
///
/// At period 0 a run asks for these hundreds of thousands of times a second, so the two list
/// texts are kept as they change rather than converted at each request, and the status line
/// reaches the label at most about sixty times a second; the label always ends showing the
/// last text (flushStatus).
class WindowBinding final : public engine::WindowOperations {
public:
    explicit WindowBinding(Form1& form);

    std::string fileName() override;
    std::string periodText() override;
    std::string axisText() override;
    int simulation() override;
    bool stopEnabled() override;
    void setStatus(const std::string& text) override;
    void backToIdle() override;
    bool windowClosing() override;
    void chartReset() override;
    std::int64_t sweepStart() override;
    void segmentTo(float x, float y) override;

    /// Puts the last status text on the label now.
    void flushStatus();

    /// Shortest time between two updates of the status label.
    static constexpr int kStatusIntervalMs = 16;
    /// Shortest delay between a new status text and its showing.
    static constexpr int kRepaintDelayMs = 2;

private:
    void refreshTexts();

    Form1& form_;
    std::string period_;
    std::string axis_;
    std::string pendingStatus_;
    bool statusPending_ = false;
    QTimer statusTimer_;
    QElapsedTimer sinceStatusShown_;
};

} // namespace ombrelis::ui
