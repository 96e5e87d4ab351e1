#include <gtest/gtest.h>
#include <ombrelis/engine/LogFile.h>
#include <vector>

using namespace ombrelis;

namespace {

/// Counts what reaches the system.
class CountingFile final : public platform::RecordFile {
public:
    void writeRecord(std::int64_t n, std::span<const std::uint8_t> bytes) override {
        written.push_back(n);
        sizes.push_back(bytes.size());
    }
    void sync() override { ++*syncs; }
    void close() override { ++*closes; }
    platform::FileId id() const override { return {}; }

    std::vector<std::int64_t> written;
    std::vector<std::size_t> sizes;
    int* syncs;
    int* closes;
};

struct Counted {
    int syncs = 0;
    int closes = 0;
    std::unique_ptr<platform::RecordFile> file() {
        auto f = std::make_unique<CountingFile>();
        f->syncs = &syncs;
        f->closes = &closes;
        return f;
    }
};

TEST(LogFile, EachRecordIsOneWriteAndSyncsComeAtLeastOnceASecond) {
    Counted c;
    engine::LogFile log(c.file(), 0);
    engine::MesureRec r;
    for (int i = 1; i <= 25; ++i) {
        log.write(i, r, i * 100); // 100 ms apart
    }
    // Synced at 1000, 2000: never more than a second of records unsynced.
    EXPECT_EQ(c.syncs, 2);
    EXPECT_EQ(log.recordsWritten(), 25);
    log.close();
    log.close();
    EXPECT_EQ(c.closes, 1);
}

TEST(LogFile, ASyncDueAtTheNextWriteIsMadeAheadDuringTheWait) {
    Counted c;
    engine::LogFile log(c.file(), 0);
    engine::MesureRec r;
    log.write(1, r, 0);
    log.syncAhead(1, 500); // the next write is not due a sync: nothing yet
    EXPECT_EQ(c.syncs, 0);
    log.write(2, r, 500);
    log.syncAhead(501, 1000); // the next write would sync: do it now
    EXPECT_EQ(c.syncs, 1);
    log.write(3, r, 1000); // 499 ms after that sync
    EXPECT_EQ(c.syncs, 1);
    log.syncAhead(1001, 1200);
    EXPECT_EQ(c.syncs, 1);
    log.syncAhead(1001, 1501);
    EXPECT_EQ(c.syncs, 2);
    log.syncAhead(1002, 3000); // nothing written since
    EXPECT_EQ(c.syncs, 2);
}

TEST(LogFile, DestroyedOpenItClosesTheFile) {
    Counted c;
    { engine::LogFile log(c.file(), 0); }
    EXPECT_EQ(c.closes, 1);
}

} // namespace
