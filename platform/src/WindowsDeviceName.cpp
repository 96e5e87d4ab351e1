#include <algorithm>
#include <array>
#include <ombrelis/platform/WindowsDeviceName.h>
#include <string_view>

namespace ombrelis::platform {

namespace {

bool startsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string upper(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
    return out;
}

/// The \\?\ prefix passes a name to the system untouched: only a drive or a UNC share
/// after it is a file path; anything else (\\?\GLOBALROOT\...) reaches objects of the kernel.
bool isDeviceNamespace(std::string_view name) {
    if (startsWith(name, "\\\\.\\") || startsWith(name, "//./")) {
        return true;
    }
    if (!startsWith(name, "\\\\?\\")) {
        return false;
    }
    const std::string_view rest = name.substr(4);
    const bool drive = rest.size() >= 2 && isLetter(rest[0]) && rest[1] == ':';
    return !drive && !startsWith(upper(rest.substr(0, 4)), "UNC\\");
}

} // namespace

bool isWindowsDeviceName(const std::string& name) {
    if (isDeviceNamespace(name)) {
        return true;
    }
    std::string_view last = name;
    if (const std::size_t slash = last.find_last_of("\\/"); slash != std::string_view::npos) {
        last.remove_prefix(slash + 1);
    } else if (last.size() >= 2 && isLetter(last[0]) && last[1] == ':') {
        last.remove_prefix(2); // "C:nul", relative to drive C's current folder
    }
    // Windows reads the device name up to an extension or a stream, and drops the blanks
    // that end it.
    last = last.substr(0, last.find_first_of(".:"));
    while (!last.empty() && last.back() == ' ') {
        last.remove_suffix(1);
    }
    const std::string base = upper(last);
    static constexpr std::array<std::string_view, 6> kDevices = {"CON", "PRN",    "AUX",
                                                                 "NUL", "CONIN$", "CONOUT$"};
    if (std::find(kDevices.begin(), kDevices.end(), base) != kDevices.end()) {
        return true;
    }
    if (!startsWith(base, "COM") && !startsWith(base, "LPT")) {
        return false;
    }
    const std::string_view number = std::string_view(base).substr(3);
    static constexpr std::array<std::string_view, 3> kSuperscripts = {"\xC2\xB9", "\xC2\xB2",
                                                                      "\xC2\xB3"};
    return (number.size() == 1 && number[0] >= '0' && number[0] <= '9') ||
           std::find(kSuperscripts.begin(), kSuperscripts.end(), number) != kSuperscripts.end();
}

} // namespace ombrelis::platform
