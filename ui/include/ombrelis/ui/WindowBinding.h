#pragma once

#include <ombrelis/engine/WindowOperations.h>
#include <ombrelis/ui/RepaintThrottle.h>
#include <string>

namespace ombrelis::ui {

class Form1;

/// The run's window operations on the main window's controls: the texts of ctlNomdefichier,
/// ctlVitesse and ctlAxetemps, the value of Simu, the enabled state of btnSTOP, the caption of
/// ctl, and btnSTOP_Click.
///
/// At period 0 a run asks for these hundreds of thousands of times a second, so the two list
/// texts are kept as they change rather than converted at each request, and the status line
/// reaches the label through a RepaintThrottle; the label always ends showing the last text
/// (flushStatus).
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

    /// Puts the last status text on the label now.
    void flushStatus();

private:
    void refreshTexts();

    Form1& form_;
    std::string period_;
    std::string axis_;
    std::string pendingStatus_;
    RepaintThrottle statusThrottle_;
};

} // namespace ombrelis::ui
