#pragma once

#include <ombrelis/engine/WindowOperations.h>

namespace ombrelis::ui {

class Form1;

/// The run's window operations on the main window: the texts of ctlNomdefichier, ctlVitesse
/// and ctlAxetemps, the value of Simu, the enabled state of btnSTOP, the caption of ctl,
/// btnSTOP_Click, and the window's strip chart on ctlCourbe.
class WindowBinding final : public engine::WindowOperations {
public:
    explicit WindowBinding(Form1& form) : form_(form) {}

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

private:
    Form1& form_;
};

} // namespace ombrelis::ui
