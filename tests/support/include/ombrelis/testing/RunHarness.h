#pragma once

#include <functional>
#include <ombrelis/engine/MesureRec.h>
#include <ombrelis/engine/SamplingRun.h>
#include <ombrelis/engine/ValueSources.h>
#include <ombrelis/platform/NativeFileSystem.h>
#include <ombrelis/testing/FakeClock.h>
#include <ombrelis/testing/FakePump.h>
#include <ombrelis/testing/FakeServices.h>
#include <ombrelis/testing/FakeWindow.h>
#include <ombrelis/testing/LogContents.h>
#include <ombrelis/testing/Max187Model.h>
#include <ombrelis/testing/RecordingSurface.h>
#include <ombrelis/testing/TempDir.h>
#include <string>
#include <vector>

namespace ombrelis::testing {

/// The native file system, unless a test hands the run a record file of its own.
struct HarnessFiles final : platform::FileSystem {
    platform::EntryKind probe(const std::string& name) override { return native.probe(name); }
    std::unique_ptr<platform::HeldFile> holdExisting(const std::string& name) override {
        return native.holdExisting(name);
    }
    std::unique_ptr<platform::RecordFile> createRecords(const std::string& name,
                                                        std::size_t size) override {
        return recordFile ? recordFile() : native.createRecords(name, size);
    }
    std::function<std::unique_ptr<platform::RecordFile>()> recordFile;
    platform::NativeFileSystem native;
};

/// A sampling run wired to fakes, a converter model, a chart surface that keeps its lines and a
/// real temporary folder.
struct RunHarness {
    RunHarness() { window.name = dir.file("mesures.dat"); }

    /// STOP is clicked as sample `n` is shown, so the run ends at its next stop test with
    /// exactly n records, whatever the period. `inEachPump` runs in every pump, given its
    /// number (from 1).
    void stopAfter(std::size_t n, std::function<void(int)> inEachPump = {}) {
        window.onStatus = [this, n] {
            if (window.statuses.size() >= n) {
                window.clickStop();
            }
        };
        if (inEachPump) {
            pump.everyPump = [also = std::move(inEachPump), count = 0]() mutable { also(++count); };
        }
    }

    TempDir dir;
    FakeClock clock{1000};
    FakePump pump{clock};
    FakeMessageBoxes boxes;
    FakeCalendar calendar;
    FakeMicroDelay delay;
    Max187Model port{&delay};
    ScriptedRandom random;
    FakeThreadPriority threadPriority;
    engine::Convertisseur converter{port, delay};
    engine::Simulateur simulator{random};
    FakeWindow window;
    RecordingSurface surface;
    HarnessFiles files;
    engine::SamplingRun run{window, surface,
                            engine::RunServices{clock, pump, boxes, files, calendar, converter,
                                                simulator, threadPriority}};
};

} // namespace ombrelis::testing
