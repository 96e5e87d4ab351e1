// Any bytes a log file can hold, through what ombrelis-log does with them (the picture's
// geometry included; only the Qt painting is left out).
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ombrelis/logtool/CsvWriter.h>
#include <ombrelis/logtool/LogCheck.h>
#include <ombrelis/logtool/PlotLayout.h>
#include <ombrelis/logtool/ReportText.h>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ombrelis::logtool;
    const LogView log(std::span<const std::uint8_t>(data, size));
    if (log.recordCount() * ombrelis::engine::kRecordSize + log.trailingBytes() != size ||
        log.trailingBytes() >= ombrelis::engine::kRecordSize) {
        std::abort();
    }

    const CheckReport report = checkLog(log);
    const std::string text = reportText(report, "fuzz.dat");
    const bool saysSound = text.find("verdict   SOUND") != std::string::npos;
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

    const auto [first, last] = timeSpanSeconds(log);
    const PlotLayout layout = layoutPlot(640, 480, first, last);
    for (const PlotPoint& p : tracePoints(log, layout)) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || p.x < layout.area.left - 0.5 ||
            p.x > layout.area.right() + 0.5) {
            std::abort();
        }
    }
    return 0;
}
