#pragma once

#include <functional>
#include <ombrelis/engine/WindowOperations.h>
#include <string>
#include <vector>

namespace ombrelis::testing {

/// The run's window operations as plain fields. STOP starts enabled, as after a GO click.
class FakeWindow final : public engine::WindowOperations {
public:
    std::string fileName() override { return name; }
    std::string periodText() override { return period; }
    std::string axisText() override { return axis; }
    int simulation() override { return simu; }
    bool stopEnabled() override { return stopOn; }
    void setStatus(const std::string& text) override {
        status = text;
        statuses.push_back(text);
        if (onStatus) {
            onStatus();
        }
    }
    void backToIdle() override {
        stopOn = false;
        goOn = true;
        ++idleCalls;
    }
    bool windowClosing() override { return closing; }

    /// The STOP click: GO enabled, STOP disabled.
    void clickStop() {
        stopOn = false;
        goOn = true;
    }

    std::string name;
    std::string period = "0";
    std::string axis = "120";
    int simu = 1;
    bool stopOn = true;
    bool goOn = false;
    bool closing = false;
    std::function<void()> onStatus;

    std::string status;
    std::vector<std::string> statuses;
    int idleCalls = 0;
};

} // namespace ombrelis::testing
