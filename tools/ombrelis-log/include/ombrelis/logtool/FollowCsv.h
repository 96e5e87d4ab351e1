#pragma once

#include <ombrelis/logtool/CsvWriter.h>
#include <ombrelis/logtool/Input.h>
#include <ostream>
#include <string>

namespace ombrelis::logtool {

/// How long the follower waits at most before it looks at the file again when nothing woke it.
inline constexpr int kLookEveryMs = 200;

/// Writes the header, then a CSV line for each whole record of `file` as it lands, flushing
/// `out` after each batch of lines, for as long as `out` takes them. A file replaced or
/// shortened under `name` is reported on `err` and read again from record 1. Returns when `out`
/// fails; throws InputError when the file cannot be read.
void followCsv(FollowedFile& file, const std::string& name, std::ostream& out, std::ostream& err,
               CsvStyle style = CsvStyle::Plain);

} // namespace ombrelis::logtool
