#pragma once

#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <ombrelis/engine/MesureRec.h>
#include <ombrelis/platform/PosixFileSystem.h>
#include <ombrelis/testing/CaseNames.h>
#include <ombrelis/testing/FakeClock.h>
#include <ombrelis/testing/FakePump.h>
#include <ombrelis/testing/FakeServices.h>
#include <ombrelis/testing/Max187Model.h>
#include <ombrelis/ui/Form1.h>
#include <ombrelis/ui/SaveDialog.h>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace ombrelis::testing {

/// A Save dialog that never blocks: it answers what the test queued.
class FakeSaveDialog final : public ui::SaveDialog {
public:
    std::optional<std::string> askSaveName(QWidget* parent, const std::string& title,
                                           const std::string& filter) override {
        ++calls;
        lastParent = parent;
        lastTitle = title;
        lastFilter = filter;
        if (fails) {
            throw std::runtime_error("no dialog");
        }
        return answer;
    }

    std::optional<std::string> answer;
    bool fails = false;
    int calls = 0;
    QWidget* lastParent = nullptr;
    std::string lastTitle;
    std::string lastFilter;
};

/// The real window over fakes: a clock that moves only when told, a pump that runs scheduled
/// handlers, boxes and a Save dialog that never block, and the real file system in a fresh
/// folder.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    /// Creates the window over the fake clock and pump, or over the given ones.
    ui::Form1& createWindow(engine::EventPump* eventPump = nullptr,
                            platform::Clock* realClock = nullptr) {
        form = std::make_unique<ui::Form1>(ui::Form1Services{
            realClock ? *realClock : clock, eventPump ? *eventPump : pump, calendar, random, files,
            port, delay, messages, saveDialog, threadPriority});
        return *form;
    }

    /// Created, loaded and shown, as the program starts.
    ui::Form1& startWindow(engine::EventPump* eventPump = nullptr,
                           platform::Clock* realClock = nullptr) {
        createWindow(eventPump, realClock);
        form->Form_Load();
        form->show();
        return *form;
    }

    template <typename W> W& control(const char* name) {
        W* widget = form->findChild<W*>(QString::fromLatin1(name));
        if (widget == nullptr) {
            throw std::logic_error(std::string("no control ") + name);
        }
        return *widget;
    }

    std::string pathIn(const char* name) const {
        return folder.filePath(QString::fromLatin1(name)).toStdString();
    }

    /// Every record of a log file, checking that it holds whole records only.
    static std::vector<engine::MesureRec> readLog(const std::string& path);

    FakeClock clock{5000};
    FakePump pump{clock};
    FakeCalendar calendar;
    ScriptedRandom random;
    platform::PosixFileSystem files;
    FakeMicroDelay delay;
    Max187Model port{&delay};
    FakeMessageBoxes messages;
    FakeSaveDialog saveDialog;
    platform::NormalPriority threadPriority;
    QTemporaryDir folder;
    std::unique_ptr<ui::Form1> form;
};

/// Pixels of the trace colour in an image of the chart.
int traceColourPixels(const QImage& image);

} // namespace ombrelis::testing
