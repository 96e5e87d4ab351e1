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

bool inRange(std::int16_t valeur) {
    return valeur >= 0 && valeur <= kLargestCount;
}

/// The sentences describing the faults of record `number`, for the report's first fault.
std::vector<std::string> faultsOf(std::uint64_t number, const engine::MesureRec& record,
                                  const engine::MesureRec* previous) {
    std::vector<std::string> why;
    if (number == 1 && record.TempsMs != 0) {
        why.push_back("TempsMs vaut " + std::to_string(record.TempsMs) +
                      " dans la mesure 1, alors qu'une série commence à 0");
    }
    if (previous != nullptr && record.TempsMs < previous->TempsMs) {
        why.push_back("TempsMs recule de " + std::to_string(previous->TempsMs) + " à " +
                      std::to_string(record.TempsMs));
    }
    if (!isValidHeure(record.Heure)) {
        why.push_back("Heure « " + printableHeure(record.Heure) +
                      " » n'est pas une heure au format HH:MM:SS");
    }
    if (!inRange(record.Valeur)) {
        why.push_back("Valeur vaut " + std::to_string(record.Valeur) + ", hors de 0 à 4095");
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

void LogChecker::add(const LogView& block) {
    CheckReport& r = report_;
    for (std::size_t i = 1; i <= block.recordCount(); ++i) {
        const engine::MesureRec record = block.record(i);
        const std::uint64_t n = ++r.records;
        if (n == 1) {
            r.firstHeure = printableHeure(record.Heure);
            r.smallestValeur = r.largestValeur = record.Valeur;
            r.smallestValeurRecord = r.largestValeurRecord = 1;
            r.firstTempsNotZero = record.TempsMs != 0;
            previous_ = record; // record 1's duration so far, and no interval yet
        }
        const std::int64_t interval = static_cast<std::int64_t>(record.TempsMs) - previous_.TempsMs;
        if (n == 2 || (n > 2 && interval > r.largestIntervalMs)) {
            r.largestIntervalMs = interval;
            r.largestIntervalRecord = n;
        }
        r.tempsDecreases += interval < 0 ? 1 : 0;
        r.durationMs += interval;
        // Heure changes once a second while hundreds of thousands of records may share it.
        if (n == 1 || record.Heure != previous_.Heure) {
            heureOk_ = isValidHeure(record.Heure);
        }
        const bool heureOk = heureOk_;
        const bool valeurOk = inRange(record.Valeur);
        r.badHeures += heureOk ? 0 : 1;
        r.valeursOutOfRange += valeurOk ? 0 : 1;
        if (record.Valeur < r.smallestValeur) {
            r.smallestValeur = record.Valeur;
            r.smallestValeurRecord = n;
        }
        if (record.Valeur > r.largestValeur) {
            r.largestValeur = record.Valeur;
            r.largestValeurRecord = n;
        }
        if (!r.firstFault &&
            (!heureOk || !valeurOk || interval < 0 || (n == 1 && record.TempsMs != 0))) {
            r.firstFault = FirstFault{n, faultsOf(n, record, n == 1 ? nullptr : &previous_)};
        }
        previous_ = record;
    }
}

CheckReport LogChecker::report(std::size_t trailingBytes) const {
    CheckReport r = report_;
    r.trailingBytes = trailingBytes;
    if (r.records != 0) {
        r.lastHeure = printableHeure(previous_.Heure);
    }
    if (r.records >= 2) {
        r.meanIntervalMs = static_cast<double>(r.durationMs) / static_cast<double>(r.records - 1);
    }
    if (!r.firstFault && trailingBytes != 0) {
        r.firstFault = FirstFault{r.records + 1,
                                  {"le fichier s'arrête après " + std::to_string(trailingBytes) +
                                   " octets de cette mesure, qui en compte " +
                                   std::to_string(engine::kRecordSize)}};
    }
    return r;
}

CheckReport checkLog(const LogView& log) {
    LogChecker checker;
    checker.add(log);
    return checker.report(log.trailingBytes());
}

} // namespace ombrelis::logtool
