#include <ombrelis/testing/RunHarness.h>

#include <fstream>
#include <iterator>

namespace ombrelis::testing {

std::vector<std::uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

LogContents readLog(const std::string& path) {
    LogContents contents;
    const std::vector<std::uint8_t> bytes = readBytes(path);
    contents.size = bytes.size();
    const std::size_t whole = bytes.size() / engine::kRecordSize;
    for (std::size_t i = 0; i < whole; ++i) {
        contents.records.push_back(engine::decode(
            std::span<const std::uint8_t, engine::kRecordSize>(bytes.data() + i * engine::kRecordSize,
                                                               engine::kRecordSize)));
    }
    contents.trailingBytes = bytes.size() % engine::kRecordSize;
    return contents;
}

} // namespace ombrelis::testing
