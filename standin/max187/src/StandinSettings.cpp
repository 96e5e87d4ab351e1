#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <ombrelis/max187/StandinSettings.h>
#include <vector>

namespace ombrelis::max187 {

namespace {

std::vector<std::string_view> words(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t start = text.find_first_not_of(" \t", at);
        if (start == std::string_view::npos) {
            break;
        }
        const std::size_t end = std::min(text.find_first_of(" \t", start), text.size());
        out.push_back(text.substr(start, end - start));
        at = end;
    }
    return out;
}

// from_chars: the same reading whatever the locale, "." always the decimal point.
std::optional<double> number(std::string_view word) {
    double value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc{} || end != word.data() + word.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

struct NamedFault {
    std::string_view text;
    Fault fault;
};

} // namespace

double Signal::voltsAt(double seconds) const noexcept {
    if (hz == 0) {
        return low;
    }
    const double middle = (low + high) / 2;
    const double amplitude = (high - low) / 2;
    return middle + amplitude * std::sin(2 * std::numbers::pi * hz * seconds);
}

std::optional<Signal> parseSignal(std::string_view text) {
    const std::vector<std::string_view> w = words(text);
    if (w.size() == 2 && w[0] == "const") {
        if (const auto volts = number(w[1])) {
            return Signal{0, *volts, *volts};
        }
    }
    if (w.size() == 4 && w[0] == "sine") {
        const auto hz = number(w[1]);
        const auto low = number(w[2]);
        const auto high = number(w[3]);
        if (hz && low && high && *hz > 0) {
            return Signal{*hz, *low, *high};
        }
    }
    return std::nullopt;
}

std::optional<Fault> parseFault(std::string_view text) {
    using Step = Fault::Step;
    static const NamedFault known[] = {
        {"", {Step::None, 0}},
        {"open:EACCES", {Step::Open, EACCES}},
        {"open:ENOENT", {Step::Open, ENOENT}},
        {"open:EBUSY", {Step::Open, EBUSY}},
        {"claim:EBUSY", {Step::Claim, EBUSY}},
        {"claim:ENXIO", {Step::Claim, ENXIO}},
    };
    for (const NamedFault& named : known) {
        if (named.text == text) {
            return named.fault;
        }
    }
    return std::nullopt;
}

StandinSettings settingsFromEnvironment() {
    StandinSettings settings;
    const char* signalText = std::getenv(kSignalVariable);
    if (signalText == nullptr || *signalText == '\0') {
        signalText = kDefaultSignal;
    }
    if (const auto signal = parseSignal(signalText)) {
        settings.signal = *signal;
    } else {
        settings.problem = std::string(kSignalVariable) + "=\"" + signalText +
                           "\" is neither \"const VOLTS\" nor \"sine HZ LOW_VOLTS HIGH_VOLTS\"";
    }
    const char* faultText = std::getenv(kFaultVariable);
    if (const auto fault = parseFault(faultText ? faultText : "")) {
        settings.fault = *fault;
    } else {
        settings.problem = std::string(kFaultVariable) + "=\"" + faultText +
                           "\" is none of open:EACCES, open:ENOENT, open:EBUSY, claim:EBUSY, "
                           "claim:ENXIO";
    }
    return settings;
}

} // namespace ombrelis::max187
