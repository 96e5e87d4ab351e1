#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <ombrelis/platform/NativeFileSystem.h>
#include <ombrelis/platform/SystemError.h>
#include <ombrelis/testing/Contains.h>
#include <ombrelis/testing/TempDir.h>

namespace ombrelis::platform {
namespace {

using testing::fileBytes;
using testing::recordBytes;

// The system's record file as a run writes it: each record at its offset and straight through
// to the file, a record written again in place, a second close harmless, a write after it told.
TEST(RecordFileTest, RecordsGoStraightToTheFileAtTheirOffsets) {
    testing::TempDir dir;
    const std::string name = dir / "log.dat";
    auto file = NativeFileSystem().createRecords(name, 14);
    file->writeRecord(3, recordBytes(3)); // the records before it read as zeros
    EXPECT_EQ(fileBytes(name).size(), 3 * 14u);
    std::vector<std::uint8_t> expected;
    for (int i = 1; i <= 25; ++i) {
        const auto record = recordBytes(i);
        file->writeRecord(i, record);
        expected.insert(expected.end(), record.begin(), record.end());
        // Before any sync or close.
        ASSERT_EQ(fileBytes(name).size(), std::max(i, 3) * 14u) << "record " << i;
    }
    file->writeRecord(2, recordBytes(9));
    const auto nine = recordBytes(9);
    std::copy(nine.begin(), nine.end(), expected.begin() + 14);
    file->sync();
    file->close();
    file->close();
    EXPECT_EQ(fileBytes(name), expected);
    try {
        file->writeRecord(26, recordBytes(26));
        ADD_FAILURE() << "written after the close";
    } catch (const SystemError& e) {
        EXPECT_TRUE(testing::contains(e.what(), "Impossible d'écrire dans le fichier")) << e.what();
    }
}

} // namespace
} // namespace ombrelis::platform
