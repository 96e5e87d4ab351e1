#pragma once

namespace ombrelis {

/// Title of the program's message boxes.
inline constexpr const char* kApplicationTitle = "Ombrelis";

} // namespace ombrelis
