#pragma once

namespace ombrelis::testing {

/// A constant input of the stand-ins (OMBRELIS_STANDIN_SIGNAL) and the count that every
/// readout of it gives.
struct ConstantSignal {
    const char* name;
    const char* signal;
    int count;
};

inline constexpr ConstantSignal kConstantSignals[] = {
    {"Zero", "const 0", 0},
    {"OneCount", "const 0.001", 1},
    {"Millivolts", "const 1.234", 1234},
    {"AlternateBits", "const 2.730", 2730},
    {"TopCount", "  const   4.095 ", 4095},
    {"AboveFullScale", "const 5", 4095},
    {"BelowZero", "const -1", 0},
};

} // namespace ombrelis::testing
