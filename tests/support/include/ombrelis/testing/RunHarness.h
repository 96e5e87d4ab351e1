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

/// A sampling run wired to fakes, a converter model, a chart surface that keeps its lines and a
/// real temporary folder.
struct RunHarness {
    explicit RunHarness(platform::FileSystem* fileSystem = nullptr)
        : files(fileSystem ? *fileSystem : nativeFiles),
          run(window, surface,
              engine::RunServices{clock, pump, boxes, files, calendar, converter, simulator,
                                  threadPriority}) {
        window.name = dir.file("mesures.dat");
    }

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
    platform::NativeFileSystem nativeFiles;
    platform::FileSystem& files;
    engine::SamplingRun run;
};

} // namespace ombrelis::testing
