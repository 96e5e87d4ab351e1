#include <ombrelis/logtool/LogReader.h>
#include <ombrelis/testing/LogContents.h>

namespace ombrelis::testing {

// Through ombrelis-log's own reader, so that the tests and the benchmarks see a log exactly as
// the tool given to users does.
LogContents readLog(const std::string& path) {
    LogContents contents;
    try {
        const auto input = logtool::InputFile::open(path);
        logtool::LogReader reader(*input);
        for (logtool::LogView block = reader.next(); !block.empty(); block = reader.next()) {
            for (std::size_t n = 1; n <= block.recordCount(); ++n) {
                contents.records.push_back(block.record(n));
            }
        }
        contents.trailingBytes = reader.trailingBytes();
    } catch (const logtool::InputError&) {
        return {}; // read as empty, as fileBytes reads a file it cannot open
    }
    contents.size = contents.records.size() * engine::kRecordSize + contents.trailingBytes;
    return contents;
}

} // namespace ombrelis::testing
