#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ombrelis::engine {

/// Why `name` (UTF-8) cannot name a log file, in French, or nothing when it can. A control
/// character (below U+0020, or U+007F) is refused: pasted with the name, a line feed shows as a
/// blank in the field, and the file would then be found under no name the user can type.
std::optional<std::string> fileNameProblem(std::string_view name);

} // namespace ombrelis::engine
