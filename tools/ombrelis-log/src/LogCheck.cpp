#include <ombrelis/logtool/LogCheck.h>

namespace ombrelis::logtool {

namespace {

constexpr std::int16_t kLargestCount = 4095;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int twoDigits(char tens, char units) {
    return (tens - '0') * 10 + (units - '0');
}

/// The sentences describing the faults of record `number`, for the report's first fault.
std::vector<std::string> faultsOf(std::size_t number, const engine::MesureRec& record,
                                  const std::optional<engine::MesureRec>& previous) {
    std::vector<std::string> why;
    if (number == 1 && record.TempsMs != 0) {
        why.push_back("TempsMs is " + std::to_string(record.TempsMs) +
                      " in record 1, where a run starts at 0");
    }
    if (previous && record.TempsMs < previous->TempsMs) {
        why.push_back("TempsMs goes back from " + std::to_string(previous->TempsMs) + " to " +
                      std::to_string(record.TempsMs));
    }
    if (!isValidHeure(record.Heure)) {
        why.push_back("Heure \"" + printableHeure(record.Heure) + "\" is not a time HH:MM:SS");
    }
    if (record.Valeur < 0 || record.Valeur > kLargestCount) {
        why.push_back("Valeur " + std::to_string(record.Valeur) + " is outside 0..4095");
    }
    return why;
}

} // namespace

bool isValidHeure(const std::array<char, 8>& h) noexcept {
    for (const std::size_t i : {0, 1, 3, 4, 6, 7}) {
        if (!isDigit(h[i])) {
            return false;
        }
    }
    return h[2] == ':' && h[5] == ':' && twoDigits(h[0], h[1]) <= 23 &&
           twoDigits(h[3], h[4]) <= 59 && twoDigits(h[6], h[7]) <= 60;
}

CheckReport checkLog(const LogView& log) {
    CheckReport report;
    report.records = log.recordCount();
    report.trailingBytes = log.trailingBytes();

    std::optional<engine::MesureRec> previous;
    std::int64_t firstTemps = 0;
    for (std::size_t n = 1; n <= report.records; ++n) {
        const engine::MesureRec record = log.record(n);
        if (n == 1) {
            firstTemps = record.TempsMs;
            report.firstHeure = printableHeure(record.Heure);
            report.smallestValeur = report.largestValeur = record.Valeur;
            report.smallestValeurRecord = report.largestValeurRecord = 1;
            report.firstTempsNotZero = record.TempsMs != 0;
        }
        if (previous) {
            const std::int64_t interval =
                static_cast<std::int64_t>(record.TempsMs) - previous->TempsMs;
            if (n == 2 || interval > report.largestIntervalMs) {
                report.largestIntervalMs = interval;
                report.largestIntervalRecord = n;
            }
            if (interval < 0) {
                ++report.tempsDecreases;
            }
        }
        if (!isValidHeure(record.Heure)) {
            ++report.badHeures;
        }
        if (record.Valeur < 0 || record.Valeur > kLargestCount) {
            ++report.valeursOutOfRange;
        }
        if (record.Valeur < report.smallestValeur) {
            report.smallestValeur = record.Valeur;
            report.smallestValeurRecord = n;
        }
        if (record.Valeur > report.largestValeur) {
            report.largestValeur = record.Valeur;
            report.largestValeurRecord = n;
        }
        if (!report.firstFault) {
            std::vector<std::string> why = faultsOf(n, record, previous);
            if (!why.empty()) {
                report.firstFault = FirstFault{n, std::move(why)};
            }
        }
        if (n == report.records) {
            report.durationMs = static_cast<std::int64_t>(record.TempsMs) - firstTemps;
            report.lastHeure = printableHeure(record.Heure);
        }
        previous = record;
    }
    if (report.records >= 2) {
        report.meanIntervalMs =
            static_cast<double>(report.durationMs) / static_cast<double>(report.records - 1);
    }
    if (!report.firstFault && report.trailingBytes != 0) {
        report.firstFault = FirstFault{report.records + 1,
                                       {"the file ends " + std::to_string(report.trailingBytes) +
                                        " bytes into this record, which needs " +
                                        std::to_string(engine::kRecordSize)}};
    }
    return report;
}

} // namespace ombrelis::logtool
