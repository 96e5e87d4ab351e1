#include <ombrelis/testing/LogContents.h>
#include <ombrelis/testing/TempDir.h>

namespace ombrelis::testing {

LogContents readLog(const std::string& path) {
    LogContents contents;
    const std::vector<std::uint8_t> bytes = fileBytes(path);
    contents.size = bytes.size();
    const std::size_t whole = bytes.size() / engine::kRecordSize;
    for (std::size_t i = 0; i < whole; ++i) {
        contents.records.push_back(
            engine::decode(std::span<const std::uint8_t, engine::kRecordSize>(
                bytes.data() + i * engine::kRecordSize, engine::kRecordSize)));
    }
    contents.trailingBytes = bytes.size() % engine::kRecordSize;
    return contents;
}

} // namespace ombrelis::testing
