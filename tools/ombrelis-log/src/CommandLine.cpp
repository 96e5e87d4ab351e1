#include <charconv>
#include <ombrelis/logtool/CommandLine.h>

namespace ombrelis::logtool {

namespace {

Action actionNamed(const std::string& name) {
    if (name == "check") {
        return Action::Check;
    }
    if (name == "csv") {
        return Action::Csv;
    }
    if (name == "plot") {
        return Action::Plot;
    }
    throw UsageError("unknown command '" + name + "' (check, csv or plot)");
}

int pictureSize(const std::string& option, const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < kSmallestPicture ||
        value > kLargestPicture) {
        throw UsageError(option + " needs a whole number of pixels from " +
                         std::to_string(kSmallestPicture) + " to " +
                         std::to_string(kLargestPicture) + ", not '" + text + "'");
    }
    return value;
}

} // namespace

Command parseCommandLine(const std::vector<std::string>& args) {
    Command command;
    std::vector<std::string> operands;
    std::optional<std::string> width;
    std::optional<std::string> height;
    bool optionsEnded = false;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "-h" || arg == "--help") {
            return Command{};
        }
        if (arg == "-f" || arg == "--follow") {
            command.follow = true;
            continue;
        }
        std::string name = arg;
        std::optional<std::string> value;
        if (const std::size_t eq = arg.find('=');
            arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
        }
        if (name != "-o" && name != "--output" && name != "--width" && name != "--height") {
            throw UsageError("unknown option '" + arg + "'");
        }
        if (!value) {
            if (i + 1 >= args.size()) {
                throw UsageError(name + " needs a value");
            }
            value = args[++i];
        }
        if (name == "--width") {
            width = value;
        } else if (name == "--height") {
            height = value;
        } else {
            command.output = value;
        }
    }

    if (operands.empty()) {
        throw UsageError("no command given");
    }
    command.action = actionNamed(operands[0]);
    if (operands.size() < 2) {
        throw UsageError(operands[0] + " needs the log file to read");
    }
    if (operands.size() > 2) {
        throw UsageError("unexpected argument '" + operands[2] + "'");
    }
    command.input = operands[1];

    if (command.action != Action::Plot && (width || height)) {
        throw UsageError("--width and --height apply to plot only");
    }
    if (command.follow && command.action != Action::Csv) {
        throw UsageError("--follow applies to csv only");
    }
    if (command.follow && command.input == "-") {
        throw UsageError("--follow follows a file by its name; standard input is read to its end "
                         "without it");
    }
    if (command.action == Action::Check && command.output) {
        throw UsageError("check writes its report to standard output; it takes no -o");
    }
    if (command.output && command.output->empty()) {
        throw UsageError("-o needs a file name");
    }
    if (command.action == Action::Plot) {
        if (!command.output) {
            throw UsageError("plot needs -o OUT.png, the picture to write");
        }
        if (width) {
            command.width = pictureSize("--width", *width);
        }
        if (height) {
            command.height = pictureSize("--height", *height);
        }
    }
    return command;
}

std::string usageText() {
    return R"(ombrelis-log: reads an Ombrelis log file (a headerless sequence of 14-byte records)

Usage:
  ombrelis-log check FILE
  ombrelis-log csv FILE [-o OUT]
  ombrelis-log csv --follow FILE [-o OUT]
  ombrelis-log plot FILE -o OUT.png [--width W] [--height H]
  ombrelis-log --help

FILE may be a regular file, a pipe or a FIFO; - reads standard input. Any size is read in
small blocks, as a stream: memory stays small, and a pipe need not end before lines come out.

Commands:
  check  Says whether FILE is sound: whole records and any partial one at the end,
         TempsMs 0 in record 1 and never going back, every Heure HH:MM:SS, every Valeur
         within 0..4095; then the run's duration, the mean and largest interval between
         records and the smallest and largest value.
  csv    One line per record, after the header record,valeur,heure,temps_ms,tension_v
         (tension_v = Valeur / 1000: one count is one millivolt on the 4.096 V reference).
         Writes to OUT, or to standard output without -o. A partial record at the end is
         reported on standard error and not written.
         With --follow (-f), goes on as tail -f does while a run writes FILE: each new
         record becomes a line as soon as it is whole, flushed at once, until interrupted.
         A FILE replaced or shortened (a new run under the same name) is reported on
         standard error and followed from its start, numbered from 1 again.
  plot   A PNG picture of the whole run: time in seconds across, volts 0 to 4.096 up,
         reference lines at 1, 2 and 3 V. Default size 1200 x 600 pixels. Needs no display.

Exit status:
  0  check: the file is sound (an empty file is sound); csv, plot: the output was written
  1  check: the file is damaged; the report says from which record and why
  2  the file cannot be read, the output cannot be written, or the command line is wrong

FILE is only ever read: an output that names FILE itself is refused.
)";
}

} // namespace ombrelis::logtool
