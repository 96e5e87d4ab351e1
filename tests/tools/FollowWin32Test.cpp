// A follower and a run on one log, on Windows, where an open file can keep its name taken.
#include <algorithm>
#include <gtest/gtest.h>
#include <ombrelis/logtool/Input.h>
#include <ombrelis/platform/Win32FileSystem.h>
#include <ombrelis/testing/TempDir.h>
#include <vector>

namespace ombrelis::logtool {
namespace {

TEST(FollowedFileOnWindows, ReadsARunAsItWritesAndLetsANewRunTakeTheName) {
    testing::TempDir dir;
    const std::string name = dir / "run.dat";
    platform::Win32FileSystem files;
    auto run = files.createRecords(name, 14);
    run->writeRecord(1, testing::recordBytes(1));
    const auto follower = FollowedFile::open(name);
    std::vector<std::uint8_t> read(14);
    EXPECT_EQ(follower->read(read), 14u);
    EXPECT_EQ(follower->look(), FollowedFile::Change::None);
    run->writeRecord(2, testing::recordBytes(2));
    EXPECT_EQ(follower->read(read), 14u);
    EXPECT_TRUE(std::ranges::equal(read, testing::recordBytes(2)));
    EXPECT_EQ(follower->read(read), 0u);
    run->close();

    // A new run on the name while the follower waits: it deletes and creates the log.
    ASSERT_TRUE(files.holdExisting(name)->removeIfUnchanged());
    auto next = files.createRecords(name, 14);
    next->writeRecord(1, testing::recordBytes(7));
    EXPECT_EQ(follower->read(read), 0u);
    // Replaced; under Wine the new file may get the old one's number, and then it looks
    // shortened: either way the follower starts again from its start.
    EXPECT_NE(follower->look(), FollowedFile::Change::None);
    EXPECT_EQ(follower->read(read), 14u);
    EXPECT_TRUE(std::ranges::equal(read, testing::recordBytes(7)));
}

} // namespace
} // namespace ombrelis::logtool
