#pragma once

#include <functional>
#include <ombrelis/engine/WindowOperations.h>
#include <ombrelis/testing/FakeClock.h>
#include <ombrelis/testing/Journal.h>
#include <string>
#include <vector>

namespace ombrelis::testing {

struct Segment {
    float x = 0;
    float y = 0;
};

/// The run's window operations as plain fields. STOP starts enabled, as after a GO click.
class FakeWindow final : public engine::WindowOperations {
public:
    FakeWindow(FakeClock& clock, Journal* journal = nullptr) : clock_(clock), journal_(journal) {}

    std::string fileName() override {
        note("fileName");
        return name;
    }
    std::string periodText() override {
        note("period");
        return period;
    }
    std::string axisText() override {
        note("axis");
        return axis;
    }
    int simulation() override {
        note("simu");
        return simu;
    }
    bool stopEnabled() override {
        note("stopTest");
        return stopOn;
    }
    void setStatus(const std::string& text) override {
        note("status");
        status = text;
        statuses.push_back(text);
    }
    void backToIdle() override {
        note("backToIdle");
        stopOn = false;
        goOn = true;
        ++idleCalls;
    }
    bool windowClosing() override { return closing; }
    void chartReset() override {
        note("reset");
        if (onReset) {
            onReset();
        }
        sweep = clock_.peek();
        ++resets;
    }
    std::int64_t sweepStart() override {
        note("sweepStart");
        return sweep;
    }
    void segmentTo(float x, float y) override {
        note("segment");
        segments.push_back({x, y});
    }

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
    std::int64_t sweep = 0;
    std::function<void()> onReset;

    std::string status;
    std::vector<std::string> statuses;
    std::vector<Segment> segments;
    int resets = 0;
    int idleCalls = 0;

private:
    void note(const char* what) {
        if (journal_) {
            journal_->add(what);
        }
    }
    FakeClock& clock_;
    Journal* journal_;
};

} // namespace ombrelis::testing
