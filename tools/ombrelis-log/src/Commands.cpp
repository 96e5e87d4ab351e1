#include <cerrno>
#include <cstring>
#include <fstream>
#include <ombrelis/logtool/CommandLine.h>
#include <ombrelis/logtool/Commands.h>
#include <ombrelis/logtool/CsvWriter.h>
#include <ombrelis/logtool/InputFile.h>
#include <ombrelis/logtool/LogCheck.h>
#include <ombrelis/logtool/PlotLayout.h>
#include <ombrelis/logtool/ReportText.h>

namespace ombrelis::logtool {

namespace {

constexpr const char* kPrefix = "ombrelis-log: ";

void notePartialRecord(const Command& command, const LogView& log, std::ostream& err) {
    if (log.trailingBytes() != 0) {
        err << kPrefix << command.input << " ends with a partial record (record "
            << log.recordCount() + 1 << ", " << log.trailingBytes() << " of " << engine::kRecordSize
            << " bytes); it is left out\n";
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

int runCsv(const Command& command, const InputFile& input, std::ostream& out, std::ostream& err) {
    const LogView log(input.bytes());
    if (!command.output) {
        writeCsv(log, out);
        out.flush();
        notePartialRecord(command, log, err);
        if (!out) {
            err << kPrefix << "cannot write to standard output\n";
            return kExitFailed;
        }
        return kExitSound;
    }
    std::ofstream file(*command.output, std::ios::binary | std::ios::trunc);
    if (!file) {
        err << kPrefix << "cannot write " << *command.output << ": " << std::strerror(errno)
            << "\n";
        return kExitFailed;
    }
    writeCsv(log, file);
    file.close();
    notePartialRecord(command, log, err);
    if (!file) {
        err << kPrefix << "cannot write " << *command.output << ": " << std::strerror(errno)
            << "\n";
        return kExitFailed;
    }
    return kExitSound;
}

int runPlot(const Command& command, const InputFile& input, std::ostream& err,
            const PlotWriter& plot) {
    const LogView log(input.bytes());
    const CheckReport report = checkLog(log);
    const PlotRequest request{plotTitle(command.input, report.records, report.durationMs),
                              command.width, command.height, *command.output};
    if (const std::optional<std::string> failure = plot(log, request)) {
        err << kPrefix << "cannot write " << *command.output << ": " << *failure << "\n";
        return kExitFailed;
    }
    notePartialRecord(command, log, err);
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

    std::optional<InputFile> input;
    try {
        input = InputFile::read(command.input);
    } catch (const InputError& e) {
        err << kPrefix << e.what() << "\n";
        return kExitFailed;
    }
    if (outputIsInput(command, *input, err)) {
        return kExitFailed;
    }

    switch (command.action) {
    case Action::Check: {
        const CheckReport report = checkLog(LogView(input->bytes()));
        out << reportText(report, command.input);
        return report.sound() ? kExitSound : kExitDamaged;
    }
    case Action::Csv:
        return runCsv(command, *input, out, err);
    case Action::Plot:
        return runPlot(command, *input, err, plot);
    case Action::Help:
        break;
    }
    return kExitSound;
}

} // namespace ombrelis::logtool
