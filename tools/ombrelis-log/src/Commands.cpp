#include <cerrno>
#include <cstring>
#include <fstream>
#include <functional>
#include <ombrelis/logtool/CommandLine.h>
#include <ombrelis/logtool/Commands.h>
#include <ombrelis/logtool/CsvWriter.h>
#include <ombrelis/logtool/FollowCsv.h>
#include <ombrelis/logtool/LogCheck.h>
#include <ombrelis/logtool/LogReader.h>
#include <ombrelis/logtool/PlotLayout.h>
#include <ombrelis/logtool/ReportText.h>

namespace ombrelis::logtool {

namespace {

constexpr const char* kPrefix = "ombrelis-log: ";

void notePartialRecord(const Command& command, const LogReader& reader, std::ostream& err) {
    if (reader.trailingBytes() != 0) {
        err << kPrefix << inputName(command.input) << " ends with a partial record (record "
            << reader.records() + 1 << ", " << reader.trailingBytes() << " of "
            << engine::kRecordSize << " bytes); it is left out\n";
    }
}

/// Refuses an output that is the input under any name: writing it would destroy the log.
bool outputIsInput(const Command& command, const InputFile& input, std::ostream& err) {
    if (command.output && input.isSameFileAs(*command.output)) {
        err << kPrefix << "refusing to write " << *command.output << ": it is the input file "
            << command.input << "\n";
        return true;
    }
    return false;
}

/// Hands every block of the input to `take`, in file order.
template <typename Take> void readAll(LogReader& reader, Take take) {
    for (LogView block = reader.next(); !block.empty(); block = reader.next()) {
        take(block);
    }
}

int runCheck(const Command& command, LogReader& reader, std::ostream& out) {
    LogChecker checker;
    readAll(reader, [&](const LogView& block) { checker.add(block); });
    const CheckReport report = checker.report(reader.trailingBytes());
    out << reportText(report, inputName(command.input));
    return report.sound() ? kExitSound : kExitDamaged;
}

/// Runs `write` on the output of csv, -o or `out`, and reports a failed write.
int writeCsvOutput(const Command& command, std::ostream& out, std::ostream& err,
                   const std::function<void(std::ostream&)>& write) {
    const std::string name = command.output ? *command.output : "standard output";
    std::ofstream file;
    if (command.output) {
        file.open(*command.output, std::ios::binary | std::ios::trunc);
        if (!file) {
            err << kPrefix << "cannot write " << name << ": " << std::strerror(errno) << "\n";
            return kExitFailed;
        }
    }
    std::ostream& sink = command.output ? file : out;
    write(sink);
    sink.flush();
    if (!sink) {
        err << kPrefix << "cannot write " << name << ": " << std::strerror(errno) << "\n";
        return kExitFailed;
    }
    return kExitSound;
}

int runCsv(const Command& command, LogReader& reader, std::ostream& out, std::ostream& err) {
    const int status = writeCsvOutput(command, out, err, [&](std::ostream& sink) {
        CsvFormatter formatter;
        sink << kCsvHeader << '\n';
        // Flushed block by block: lines from a pipe fed by a live run come out as they come in.
        for (LogView block = reader.next(); !block.empty() && sink; block = reader.next()) {
            const std::string_view lines = formatter.lines(block, reader.firstNumber());
            sink.write(lines.data(), static_cast<std::streamsize>(lines.size()));
            sink.flush();
        }
    });
    notePartialRecord(command, reader, err);
    return status;
}

int runPlot(const Command& command, LogReader& reader, std::ostream& err, const PlotWriter& plot) {
    PlotTrace trace(traceBinsFor(command.width));
    readAll(reader, [&](const LogView& block) { trace.add(block); });
    const PlotRequest request{
        plotTitle(inputName(command.input), trace.records(), trace.durationMs()), command.width,
        command.height, *command.output};
    if (const std::optional<std::string> failure = plot(trace, request)) {
        err << kPrefix << "cannot write " << *command.output << ": " << *failure << "\n";
        return kExitFailed;
    }
    notePartialRecord(command, reader, err);
    return kExitSound;
}

int runOnInput(const Command& command, std::ostream& out, std::ostream& err,
               const PlotWriter& plot) {
    if (command.follow) {
        const std::unique_ptr<FollowedFile> file = FollowedFile::open(command.input);
        if (outputIsInput(command, *file, err)) {
            return kExitFailed;
        }
        return writeCsvOutput(command, out, err, [&](std::ostream& sink) {
            followCsv(*file, command.input, sink, err);
        });
    }
    const std::unique_ptr<InputFile> input = InputFile::open(command.input);
    if (outputIsInput(command, *input, err)) {
        return kExitFailed;
    }
    LogReader reader(*input);
    switch (command.action) {
    case Action::Check:
        return runCheck(command, reader, out);
    case Action::Csv:
        return runCsv(command, reader, out, err);
    case Action::Plot:
        return runPlot(command, reader, err, plot);
    case Action::Help:
        break;
    }
    return kExitSound;
}

} // namespace

int runTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
            const PlotWriter& plot) {
    Command command;
    try {
        command = parseCommandLine(args);
    } catch (const UsageError& e) {
        err << kPrefix << e.what() << "\nTry 'ombrelis-log --help'.\n";
        return kExitFailed;
    }
    if (command.action == Action::Help) {
        out << usageText();
        return kExitSound;
    }
    try {
        return runOnInput(command, out, err, plot);
    } catch (const InputError& e) {
        err << kPrefix << e.what() << "\n";
        return kExitFailed;
    }
}

} // namespace ombrelis::logtool
