#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace ombrelis::logtool {

/// The command line does not make sense; what() says why, for the user.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class Action { Help, Check, Csv, Plot, Xlsx };

struct Command {
    Action action = Action::Help;
    std::string input;
    std::optional<std::string> output; ///< csv: standard output when absent; plot, xlsx: required
    bool follow = false;               ///< csv: go on with what a run adds to the file
    bool tableur = false;              ///< csv: for a spreadsheet with French settings
    int width = 1200;
    int height = 600;
};

inline constexpr int kSmallestPicture = 160;
inline constexpr int kLargestPicture = 8000;

/// Reads the arguments after the program name. Throws UsageError.
Command parseCommandLine(const std::vector<std::string>& args);

/// The text of --help.
std::string usageText();

} // namespace ombrelis::logtool
