// Any bytes a log file can hold, through what ombrelis-log does with them (the picture's
// geometry included; only the Qt painting is left out), read in pieces of every size.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ombrelis/logtool/CsvWriter.h>
#include <ombrelis/logtool/LogCheck.h>
#include <ombrelis/logtool/LogReader.h>
#include <ombrelis/logtool/PlotTrace.h>
#include <ombrelis/logtool/ReportText.h>
#include <sstream>

namespace {

using namespace ombrelis::logtool;

/// Hands the bytes out in pieces of 1 to 23 bytes, sizes taken from the bytes themselves.
class Pieces : public ByteSource {
public:
    explicit Pieces(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::size_t read(std::span<std::uint8_t> buffer) override {
        const std::size_t left = bytes_.size() - at_;
        const std::size_t piece = at_ < left ? bytes_[at_] % 23 + 1 : 7;
        const std::size_t n = std::min({piece, left, buffer.size()});
        std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(at_), n, buffer.begin());
        at_ += n;
        return n;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

bool sameReport(const CheckReport& a, const CheckReport& b) {
    return a.records == b.records && a.trailingBytes == b.trailingBytes &&
           a.tempsDecreases == b.tempsDecreases && a.badHeures == b.badHeures &&
           a.valeursOutOfRange == b.valeursOutOfRange && a.durationMs == b.durationMs &&
           a.largestIntervalRecord == b.largestIntervalRecord &&
           a.smallestValeurRecord == b.smallestValeurRecord && a.lastHeure == b.lastHeure &&
           a.sound() == b.sound() && (a.sound() || a.firstFault->why == b.firstFault->why);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const LogView log(std::span<const std::uint8_t>(data, size));
    const CheckReport report = checkLog(log);
    const std::string text = reportText(report, "fuzz.dat");
    const bool saysSound = text.find("verdict     SAIN") != std::string::npos;
    const bool hasFaults = report.firstTempsNotZero || report.tempsDecreases != 0 ||
                           report.badHeures != 0 || report.valeursOutOfRange != 0 ||
                           report.trailingBytes != 0;
    if (report.sound() != !hasFaults || saysSound != report.sound()) {
        std::abort();
    }
    if (report.firstFault &&
        (report.firstFault->record == 0 || report.firstFault->record > report.records + 1 ||
         report.firstFault->why.empty())) {
        std::abort();
    }

    std::ostringstream csv;
    writeCsv(log, csv);
    const std::string lines = csv.str();
    if (static_cast<std::size_t>(std::count(lines.begin(), lines.end(), '\n')) !=
        log.recordCount() + 1) {
        std::abort(); // a damaged Heure must never break a line
    }

    // Read in pieces and small blocks, the log must come out whole, checked and traced alike.
    Pieces pieces({data, size});
    LogReader reader(pieces, 3);
    LogChecker checker;
    PlotTrace trace(8);
    PlotTrace wholeTrace(8);
    wholeTrace.add(log);
    std::size_t at = 0;
    for (LogView block = reader.next(); !block.empty(); block = reader.next()) {
        for (std::size_t n = 1; n <= block.recordCount(); ++n, at += 14) {
            if (reader.firstNumber() + n - 1 != at / 14 + 1 ||
                !(block.record(n) == log.record(at / 14 + 1))) {
                std::abort();
            }
        }
        checker.add(block);
        trace.add(block);
    }
    if (at != size - size % 14 || reader.trailingBytes() != size % 14 ||
        !sameReport(checker.report(reader.trailingBytes()), report)) {
        std::abort();
    }

    const auto [first, last] = trace.timeSpanSeconds();
    const PlotLayout layout = layoutPlot(640, 480, first, last);
    const std::vector<PlotPoint> points = trace.points(layout);
    const std::vector<PlotPoint> whole = wholeTrace.points(layout);
    if (points.size() != whole.size() || points.size() > 4 * 8) {
        std::abort();
    }
    for (std::size_t i = 0; i < points.size(); ++i) {
        const PlotPoint& p = points[i];
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || p.x < layout.area.left - 0.5 ||
            p.x > layout.area.right() + 0.5 || p.y < layout.area.top - 1 ||
            p.y > layout.area.bottom() + 1 || p.x != whole[i].x || p.y != whole[i].y) {
            std::abort();
        }
    }
    return 0;
}
