#pragma once

#include <deque>
#include <functional>
#include <ombrelis/engine/MessageBoxes.h>
#include <ombrelis/platform/Calendar.h>
#include <ombrelis/platform/RandomSource.h>
#include <ombrelis/platform/ThreadPriority.h>
#include <string>
#include <vector>

namespace ombrelis::testing {

struct ShownBox {
    std::string kind; ///< "question", "info" or "error"
    std::string title;
    std::string text;
};

/// Message boxes that never block: questions take the queued answers (Yes when none is queued).
/// `whileAsking` runs while a question is up, as anything else on the machine might.
class FakeMessageBoxes final : public engine::MessageBoxes {
public:
    bool askYesNo(const std::string& title, const std::string& text) override {
        record("question", title, text);
        if (whileAsking) {
            whileAsking();
        }
        if (answers.empty()) {
            return true;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void inform(const std::string& title, const std::string& text) override {
        record("info", title, text);
    }
    void reportError(const std::string& title, const std::string& text) override {
        record("error", title, text);
    }

    std::deque<bool> answers;
    std::vector<ShownBox> shown;
    std::function<void()> whileAsking;

private:
    void record(const std::string& kind, const std::string& title, const std::string& text) {
        shown.push_back({kind, title, text});
    }
};

class FakeCalendar final : public platform::Calendar {
public:
    std::string timeOfDay() override { return time; }
    platform::Date today() override { return date; }
    std::string time = "14:05:09";
    platform::Date date{7, 3, 2009};
};

/// Returns the queued values in turn, then `fallback`; `onNext` runs at each draw.
class ScriptedRandom final : public platform::RandomSource {
public:
    float next() override {
        ++calls;
        if (onNext) {
            onNext();
        }
        if (values.empty()) {
            return fallback;
        }
        const float v = values.front();
        values.pop_front();
        return v;
    }
    std::deque<float> values;
    float fallback = 0.5f;
    int calls = 0;
    std::function<void()> onNext;
};

/// Grants or refuses real-time scheduling as told, and keeps the thread's state.
class FakeThreadPriority final : public platform::ThreadPriority {
public:
    bool raise() override {
        ++requests;
        raised = raised || allowed;
        return allowed;
    }
    void lower() override { raised = false; }
    bool allowed = true;
    bool raised = false;
    int requests = 0;
};

} // namespace ombrelis::testing
