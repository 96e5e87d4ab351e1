#include <algorithm>
#include <cmath>
#include <ombrelis/engine/AppInfo.h>
#include <ombrelis/engine/RunError.h>
#include <ombrelis/engine/SamplingRun.h>
#include <ombrelis/engine/StatusLine.h>
#include <ombrelis/engine/TextNumber.h>
#include <ombrelis/platform/SystemError.h>

namespace ombrelis::engine {

namespace {

using platform::quoted;

constexpr std::int64_t kLargestTempsMs = std::numeric_limits<std::int32_t>::max();

std::string overwriteQuestion(const std::string& name) {
    return "Attention " + name + " va être écrasé !\r\nContinuer ?";
}

std::string stoppedNote(const std::string& name, std::int32_t records) {
    if (records == 0) {
        return "La mesure est arrêtée. Le fichier " + quoted(name) + " ne contient aucune mesure.";
    }
    return "La mesure est arrêtée. Les " + std::to_string(records) +
           " mesures déjà prises sont enregistrées dans le fichier " + quoted(name) + ".";
}

/// The wait's deadline as a whole clock reading: the first millisecond at which tick >= echeance.
std::int64_t wakeUpAt(double echeance) {
    const double up = std::ceil(echeance);
    if (up >= 9.2e18) {
        return std::numeric_limits<std::int64_t>::max();
    }
    return static_cast<std::int64_t>(up);
}

} // namespace

/// Marks a file as held by a run for as long as the run keeps it open.
class SamplingRun::FileHold {
public:
    FileHold(std::vector<platform::FileId>& held, platform::FileId id) : held_(held), id_(id) {
        held_.push_back(id_);
    }
    ~FileHold() {
        const auto it = std::find(held_.begin(), held_.end(), id_);
        if (it != held_.end()) {
            held_.erase(it);
        }
    }
    FileHold(const FileHold&) = delete;
    FileHold& operator=(const FileHold&) = delete;

private:
    std::vector<platform::FileId>& held_;
    platform::FileId id_;
};

SamplingRun::SamplingRun(WindowOperations& window, chart::DrawingSurface& chartSurface,
                         RunServices services)
    : window_(window), services_(services), chart_(chartSurface, services.clock) {}

void SamplingRun::InitCourbe() {
    chart_.InitCourbe([this] { return axisWidthMs(window_.axisText()); });
}

void SamplingRun::MainLoop() {
    std::optional<LogFile> log;
    std::string name;
    try {
        name = window_.fileName();
        if (!prepare(log, name)) {
            return;
        }
        FileHold hold(heldFiles_, log->id());
        cycles(*log);
    } catch (const std::exception& failure) {
        std::string message = failure.what();
        if (log) {
            if (log->isOpen()) {
                try {
                    log->close();
                } catch (const std::exception& closeFailure) {
                    message += "\n";
                    message += closeFailure.what();
                }
            }
            message += "\n\n" + stoppedNote(name, log->recordsWritten());
        }
        window_.backToIdle();
        services_.messages.reportError(kApplicationTitle, message);
    }
}

bool SamplingRun::prepare(std::optional<LogFile>& log, const std::string& name) {
    platform::FileSystem& files = services_.files;
    switch (files.probe(name)) {
    case platform::EntryKind::Other:
        throw RunError("Le nom " + quoted(name) +
                       " désigne autre chose qu'un fichier ordinaire (un dossier, un "
                       "périphérique...) : il ne peut pas recevoir les mesures.");
    case platform::EntryKind::RegularFile: {
        if (const auto id = files.idOf(name);
            id && std::find(heldFiles_.begin(), heldFiles_.end(), *id) != heldFiles_.end()) {
            throw RunError("Le fichier " + quoted(name) +
                           " est celui de la mesure en cours : choisissez un autre fichier.");
        }
        if (!services_.messages.askYesNo("Attention ...", overwriteQuestion(name))) {
            window_.backToIdle();
            return false;
        }
        files.remove(name);
        break;
    }
    case platform::EntryKind::Absent:
        break;
    }
    log.emplace(files.createRecords(name, kRecordSize), services_.clock.nowMs());
    InitCourbe();
    return true;
}

void SamplingRun::cycles(LogFile& log) {
    platform::Clock& clock = services_.clock;
    std::int32_t compteur = 0;
    std::int64_t t0 = 0;
    bool firstSampleTaken = false; // a clock may well read 0; T0 = 0 cannot mean "no sample"
    std::int32_t ecoulePrec = 0;
    MesureRec record;

    for (;;) {
        if (!window_.stopEnabled()) {
            log.close();
            return;
        }
        services_.pump.pumpPending();
        if (window_.windowClosing()) {
            log.close();
            return;
        }

        const double period = textToNumber(window_.periodText());
        const double echeance = static_cast<double>(clock.nowMs()) + period;
        const std::int64_t wakeUp = wakeUpAt(echeance);
        bool waiting = false;
        for (;;) {
            const std::int64_t tick = clock.nowMs();
            if (static_cast<double>(tick) >= echeance) {
                break;
            }
            if (!waiting) {
                waiting = true;
                log.syncAhead(tick, wakeUp);
            }
            services_.pump.pumpOrWaitUntil(wakeUp);
            if (window_.windowClosing()) {
                log.close();
                return;
            }
        }

        std::int16_t value = 0;
        if (window_.simulation() == 0) {
            value = services_.convertisseur.LireConvertisseur();
        }
        if (window_.simulation() != 0) {
            value = static_cast<std::int16_t>(services_.simulateur.LireSimulation());
        }

        const std::int64_t stamp = clock.nowMs();
        std::int32_t ecoule = 0;
        if (!firstSampleTaken) {
            firstSampleTaken = true;
            t0 = stamp;
        } else {
            const std::int64_t elapsed = stamp - t0;
            if (elapsed > kLargestTempsMs) {
                throw RunError("La durée de la mesure dépasse 2 147 483 647 ms (24,8 jours), la "
                               "plus grande que le fichier puisse noter.");
            }
            ecoule = static_cast<std::int32_t>(elapsed);
        }

        record.Valeur = value;
        if (compteur >= recordLimit_) {
            throw RunError("Le nombre de mesures a atteint " + std::to_string(recordLimit_) +
                           ", le plus grand que le fichier puisse numéroter.");
        }
        ++compteur;
        record.Heure = heureFromText(services_.calendar.timeOfDay());
        record.TempsMs = ecoule;
        log.write(compteur, record, stamp);

        const std::int64_t sweepTick = clock.nowMs();
        if (chart_.sweepIsFull(sweepTick, axisWidthMs(window_.axisText()))) {
            InitCourbe();
        }
        chart_.plot(clock.nowMs(), static_cast<float>(record.Valeur));

        window_.setStatus(statusText(compteur, ecoule, record.Valeur,
                                     static_cast<std::int64_t>(ecoule) - ecoulePrec));
        ecoulePrec = ecoule;
    }
}

} // namespace ombrelis::engine
