// Records a simulated run of N samples through the sampling engine into FILE, as the program
// does, with a fake clock (one sample every 100 ms) and a fixed time of day; with PAUSE, it
// really waits PAUSE ms after each sample, so that a reader can follow the file as it grows.
// Used by the tests that read a log with other tools.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ombrelis/testing/RunHarness.h>
#include <string>
#include <thread>

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4 || std::atoi(argv[2]) < 1) {
        std::fprintf(stderr, "usage: %s FILE SAMPLES [PAUSE]\n", argv[0]);
        return 2;
    }
    const int samples = std::atoi(argv[2]);
    const std::chrono::milliseconds pause(argc == 4 ? std::atoi(argv[3]) : 0);

    ombrelis::testing::RunHarness harness;
    harness.window.name = argv[1];
    harness.window.period = "100";
    harness.window.simu = 1;
    // Draws spread over [0, 1), both ends included, so the values cover the simulated range.
    harness.random.values = {0.0f, 0.99999f};
    for (int i = 2; i < samples; ++i) {
        const double golden = i * 0.6180339887;
        harness.random.values.push_back(static_cast<float>(golden - static_cast<int>(golden)));
    }
    // Each wait ends at its deadline, as the real pump's sleep would: one sample per period.
    harness.stopAfter(static_cast<std::size_t>(samples), [&harness, pause](int) {
        if (harness.clock.peek() < harness.pump.lastDeadline()) { // a wait: really pause
            std::this_thread::sleep_for(pause);
        }
    });
    harness.run.MainLoop();

    for (const auto& box : harness.boxes.shown) {
        if (box.kind == "error") {
            std::fprintf(stderr, "the run failed: %s\n", box.text.c_str());
            return 1;
        }
    }
    return 0;
}
