#pragma once

#include <cstdint>
#include <string>

namespace ombrelis::engine {

/// The status line shown after each sample: record number, time since the first sample,
/// value, and the measured interval since the previous sample.
std::string statusText(std::int32_t compteur, std::int32_t ecoule, std::int16_t valeur,
                       std::int64_t interval);

} // namespace ombrelis::engine
