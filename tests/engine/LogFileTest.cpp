#include <cerrno>
#include <chrono>
#include <gtest/gtest.h>
#include <ombrelis/engine/LogFile.h>
#include <ombrelis/testing/CountingFiles.h>
#include <thread>

using namespace ombrelis;
using namespace std::chrono_literals;
using ombrelis::testing::CountingRecordFile;
using ombrelis::testing::FileCounts;

namespace {

TEST(LogFile, RecordsAreSyncedWithoutAnyCallFromTheRunAndOnlyAfterWrites) {
    FileCounts counts;
    engine::LogFile log(std::make_unique<CountingRecordFile>(counts), 1ms);
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(counts.syncs, 0) << "nothing written, nothing to sync";
    log.write(1, {});
    log.write(2, {});
    // The run is elsewhere (a long wait, a modal dialog in its pump): the records get synced.
    for (int i = 0; i < 2000 && counts.syncs == 0; ++i) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_EQ(counts.writesSynced, 2);
}

TEST(LogFile, CloseSyncsEveryRecordThenClosesOnce) {
    FileCounts counts;
    engine::LogFile log(std::make_unique<CountingRecordFile>(counts), 1h);
    for (int i = 1; i <= 3; ++i) {
        log.write(i, {});
    }
    log.close();
    log.close();
    EXPECT_EQ(counts.writesSyncedAtClose, 3);
    EXPECT_EQ(counts.closes, 1);
}

TEST(LogFile, ABackgroundSyncFailureStopsTheNextWriteAndIsToldOnce) {
    FileCounts counts;
    counts.failSyncWith = EIO;
    engine::LogFile log(std::make_unique<CountingRecordFile>(counts), 1ms);
    int written = 0;
    try {
        while (++written < 2000) {
            log.write(written, {});
            std::this_thread::sleep_for(10ms);
        }
    } catch (const platform::SystemError&) {
    }
    EXPECT_LT(written, 2000);
    counts.failSyncWith = 0;
    EXPECT_NO_THROW(log.close());
}

TEST(LogFile, DestroyedOpenItClosesTheFile) {
    FileCounts counts;
    { engine::LogFile log(std::make_unique<CountingRecordFile>(counts)); }
    EXPECT_EQ(counts.closes, 1);
}

} // namespace
