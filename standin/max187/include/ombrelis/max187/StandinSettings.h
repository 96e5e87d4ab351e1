#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ombrelis::max187 {

/// The converter's analogue input in a stand-in: a constant voltage, or a sine between two
/// voltages whose phase is 0 at time 0 of the stand-in's clock.
struct Signal {
    double hz = 0;  ///< 0 for a constant
    double low = 0; ///< the constant, or the sine's lowest voltage
    double high = 0;

    double voltsAt(double seconds) const noexcept;
};

/// Reads "const VOLTS" or "sine HZ LOW_VOLTS HIGH_VOLTS" ("." as the decimal point, blanks
/// between the words); nothing when the text is anything else.
std::optional<Signal> parseSignal(std::string_view text);

/// A failure the stand-in gives instead of opening or claiming the port.
struct Fault {
    enum class Step { None, Open, Claim };
    Step step = Step::None;
    int errorNumber = 0;
};

/// Reads "open:EACCES", "open:ENOENT", "open:EBUSY", "claim:EBUSY" or "claim:ENXIO"; an empty
/// text is no fault; nothing when the text is anything else.
std::optional<Fault> parseFault(std::string_view text);

inline constexpr const char* kSignalVariable = "OMBRELIS_STANDIN_SIGNAL";
inline constexpr const char* kFaultVariable = "OMBRELIS_STANDIN_FAIL";
inline constexpr const char* kDefaultSignal = "sine 0.5 0.5 3.5";

/// What the stand-in's environment asks for. A variable that cannot be read is named in
/// `problem`, and the stand-in then refuses to open the port rather than guess.
struct StandinSettings {
    Signal signal;
    Fault fault;
    std::string problem;
};

/// Reads both variables now; an unset or empty signal variable means kDefaultSignal.
StandinSettings settingsFromEnvironment();

} // namespace ombrelis::max187
