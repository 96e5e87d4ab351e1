#pragma once

#include <cstddef>
#include <ombrelis/engine/MesureRec.h>
#include <string>
#include <vector>

namespace ombrelis::testing {

/// The whole records of a log file, and the length of any partial trailing one.
struct LogContents {
    std::vector<engine::MesureRec> records;
    std::size_t trailingBytes = 0;
    std::size_t size = 0;
};
LogContents readLog(const std::string& path);

} // namespace ombrelis::testing
