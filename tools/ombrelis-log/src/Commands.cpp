#include <cerrno>
#include <fstream>
#include <functional>
#include <ombrelis/logtool/CommandLine.h>
#include <ombrelis/logtool/Commands.h>
#include <ombrelis/logtool/CsvWriter.h>
#include <ombrelis/logtool/FollowCsv.h>
#include <ombrelis/logtool/LogCheck.h>
#include <ombrelis/logtool/LogReader.h>
#include <ombrelis/logtool/Output.h>
#include <ombrelis/logtool/PlotLayout.h>
#include <ombrelis/logtool/ReportText.h>
#include <ombrelis/logtool/Workbook.h>
#include <ombrelis/platform/SystemError.h>

namespace ombrelis::logtool {

namespace {

constexpr const char* kPrefix = "ombrelis-log : ";

void notePartialRecord(const Command& command, const LogReader& reader, std::ostream& err) {
    if (reader.trailingBytes() != 0) {
        err << kPrefix << inputName(command.input)
            << " se termine par une mesure incomplète (mesure " << reader.records() + 1 << ", "
            << reader.trailingBytes() << " octets sur " << engine::kRecordSize
            << ") : elle est laissée de côté.\n";
    }
}

/// Where the output goes, as the messages say it: dans le fichier « name », or sur la sortie
/// standard.
std::string outputPlace(const Command& command) {
    return command.output ? "dans le fichier " + platform::quoted(*command.output)
                          : "sur la sortie standard";
}

/// "impossible d'écrire <where> : <reason>."
void reportWriteFailure(const Command& command, const std::string& reason, std::ostream& err) {
    err << kPrefix << "impossible d'écrire " << outputPlace(command) << " : " << reason << ".\n";
}

/// The C library's reason for a failed stream; a stream may fail without one.
std::string streamReason(int errorNumber) {
    return platform::errnoReason(errorNumber != 0 ? errorNumber : EIO);
}

CsvStyle csvStyle(const Command& command) {
    return command.tableur ? CsvStyle::Tableur : CsvStyle::Plain;
}

/// A report that did not reach standard output (a full disk, a closed descriptor) is a failure,
/// not a verdict: `status` becomes kExitFailed and the user is told why.
int finishStandardOutput(int status, std::ostream& out, std::ostream& err) {
    errno = 0;
    out.flush();
    if (out || status == kExitFailed) {
        return status; // a failure already told
    }
    err << kPrefix << "impossible d'écrire sur la sortie standard : " << streamReason(errno)
        << ".\n";
    return kExitFailed;
}

/// Refuses an output that is the input under any name: writing it would destroy the log.
bool outputIsInput(const Command& command, const InputFile& input, std::ostream& err) {
    if (command.output && input.isSameFileAs(*command.output)) {
        err << kPrefix << "refus d'écrire " << outputPlace(command) << " : c'est le fichier lu"
            << (command.input == kStandardInput ? " sur l'entrée standard"
                                                : ", " + platform::quoted(command.input))
            << ".\n";
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

/// Runs `write` on the output of csv, -o or `out`, and reports a failed write. A file that -o
/// names is taken away when its CSV could not be finished, as a picture is: cut short, it would
/// pass for a shorter run. A followed log's CSV keeps its lines, each a whole record.
int writeCsvOutput(const Command& command, std::ostream& out, std::ostream& err,
                   const std::function<void(std::ostream&)>& write) {
    std::ofstream file;
    if (command.output) {
        errno = 0;
        try {
            openForWriting(file, *command.output);
        } catch (const platform::SystemError& e) {
            reportWriteFailure(command, platform::frenchReason(e.errorNumber()), err);
            return kExitFailed;
        }
        if (!file) {
            reportWriteFailure(command, streamReason(errno), err);
            return kExitFailed;
        }
    }
    const auto removeUnfinished = [&] {
        if (command.output && !command.follow) {
            file.close();
            removeFailedOutput(*command.output);
        }
    };
    std::ostream& sink = command.output ? file : out;
    errno = 0;
    try {
        write(sink);
        sink.flush();
        if (command.output && sink) {
            file.close(); // where a file system reports a failed write at last
        }
    } catch (const InputError&) {
        removeUnfinished();
        throw;
    }
    if (!sink) {
        const int error = errno;
        removeUnfinished();
        reportWriteFailure(command, streamReason(error), err);
        return kExitFailed;
    }
    return kExitSound;
}

int runCsv(const Command& command, LogReader& reader, std::ostream& out, std::ostream& err) {
    const int status = writeCsvOutput(command, out, err, [&](std::ostream& sink) {
        const CsvStyle style = csvStyle(command);
        CsvFormatter formatter(style);
        sink << csvHeader(style);
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
    const PlotRequest request{plotTitle(command.input, trace.records(), trace.durationMs()),
                              command.width, command.height, *command.output};
    if (const std::optional<std::string> failure = plot(trace, request)) {
        reportWriteFailure(command, *failure, err);
        return kExitFailed;
    }
    notePartialRecord(command, reader, err);
    return kExitSound;
}

int runXlsx(const Command& command, LogReader& reader, std::ostream& err) {
    if (const std::optional<std::string> failure =
            writeWorkbook(reader, command.input, *command.output)) {
        reportWriteFailure(command, *failure, err);
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
            followCsv(*file, command.input, sink, err, csvStyle(command));
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
    case Action::Xlsx:
        return runXlsx(command, reader, err);
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
        err << kPrefix << e.what() << ".\nEssayez « ombrelis-log --help ».\n";
        return kExitFailed;
    }
    if (command.action == Action::Help) {
        out << usageText();
        return finishStandardOutput(kExitSound, out, err);
    }
    int status = kExitFailed;
    try {
        status = runOnInput(command, out, err, plot);
    } catch (const InputError& e) {
        err << kPrefix << e.what() << "\n";
        return kExitFailed;
    }
    return finishStandardOutput(status, out, err);
}

} // namespace ombrelis::logtool
