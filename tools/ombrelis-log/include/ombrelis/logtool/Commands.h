#pragma once

#include <functional>
#include <ombrelis/logtool/PlotTrace.h>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace ombrelis::logtool {

inline constexpr int kExitSound = 0;   ///< check: sound; other commands: done
inline constexpr int kExitDamaged = 1; ///< check: the file is damaged
inline constexpr int kExitFailed = 2;  ///< unreadable input, unwritable output, bad command line

/// What `plot` asks of the picture maker.
struct PlotRequest {
    std::string title;
    int width = 0;
    int height = 0;
    std::string outputPath;
};

/// Draws the picture and writes it; returns the reason, in French, when it could not be written.
/// The picture needs Qt, the rest of the tool does not: main hands this in.
using PlotWriter =
    std::function<std::optional<std::string>(const PlotTrace& trace, const PlotRequest& request)>;

/// Runs the tool on the arguments after the program name and returns the exit status.
/// Reports go to `out`, messages to `err`; csv without -o writes to `out`. The input is read
/// block by block, so memory does not grow with the log; csv --follow returns only when its
/// output fails or its input cannot be read.
int runTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
            const PlotWriter& plot);

} // namespace ombrelis::logtool
