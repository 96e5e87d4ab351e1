#pragma once

#include <cstdint>
#include <fstream>
#include <optional>
#include <span>
#include <string>

namespace ombrelis::logtool {

/// Makes `bytes` the whole content of the file `path`, through a temporary file beside it that
/// takes the name only once every byte is on disk: a failed write never leaves half a file, nor
/// spoils the one the name had. A link is followed to the file it names; a pipe or a device
/// under the name is written as it stands. Returns the system's reason, in French, when it
/// fails. The system calls behind this live in one file per platform.
std::optional<std::string> replaceFileWith(const std::string& path,
                                           std::span<const std::uint8_t> bytes);

/// Removes what a failed write left under `path` when it is a plain file: a pipe, a device or a
/// link stays as it was. Quietly: the failure that led here is what the user is told.
void removeFailedOutput(const std::string& path);

/// Opens `file` for writing, emptied, on the exact UTF-8 name `path`. Throws
/// platform::SystemError when the system cannot take the name; otherwise see `file`'s state.
void openForWriting(std::ofstream& file, const std::string& path);

} // namespace ombrelis::logtool
