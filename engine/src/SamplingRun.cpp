#include <cmath>
#include <ombrelis/engine/AppInfo.h>
#include <ombrelis/engine/RunError.h>
#include <ombrelis/engine/SamplingRun.h>
#include <ombrelis/engine/StatusLine.h>
#include <ombrelis/engine/TextNumber.h>
#include <ombrelis/platform/SystemError.h>
#include <system_error>

namespace ombrelis::engine {

namespace {

using platform::quoted;

constexpr std::int64_t kLargestTempsMs = std::numeric_limits<std::int32_t>::max();

std::string overwriteQuestion(const std::string& name) {
    return "Attention " + name + " va être écrasé !\r\nContinuer ?";
}

std::string lockedMessage(const std::string& name) {
    return "Une autre mesure en cours écrit dans le fichier " + quoted(name) +
           " (dans cette fenêtre ou dans un autre programme) : choisissez un autre fichier, ou "
           "arrêtez d'abord cette mesure-là.";
}

std::string stoppedNote(const std::string& name, std::int32_t records) {
    const std::string note = "La mesure est arrêtée. ";
    if (records == 0) {
        return note + "Le fichier " + quoted(name) + " ne contient aucune mesure.";
    }
    if (records == 1) {
        return note + "La mesure déjà prise est enregistrée dans le fichier " + quoted(name) + ".";
    }
    return note + "Les " + std::to_string(records) +
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

/// Whichever way a run's frame is left, its thread is back to normal scheduling before
/// anything is shown.
struct NormalPriorityAfterRun {
    RunPriority& priority;
    ~NormalPriorityAfterRun() { priority.runEnded(); }
};

} // namespace

SamplingRun::SamplingRun(WindowOperations& window, chart::DrawingSurface& chartSurface,
                         RunServices services)
    : window_(window), services_(services), chart_(chartSurface, services.clock),
      priority_(services.threadPriority) {}

void SamplingRun::InitCourbe() {
    chart_.InitCourbe([this] { return axisWidthMs(window_.axisText()); });
}

void SamplingRun::MainLoop() {
    std::optional<LogFile> log;
    std::string name;
    try {
        const NormalPriorityAfterRun normalAfter{priority_};
        name = window_.fileName();
        if (!prepare(log, name)) {
            return;
        }
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
    // The converter first: a port that cannot be used must not cost an existing file.
    if (window_.simulation() == 0) {
        services_.convertisseur.claimPort();
    }
    platform::FileSystem& files = services_.files;
    switch (files.probe(name)) {
    case platform::EntryKind::Other:
        throw RunError("Le nom " + quoted(name) +
                       " désigne autre chose qu'un fichier ordinaire (un dossier, un "
                       "périphérique...) : il ne peut pas recevoir les mesures.");
    case platform::EntryKind::RegularFile: {
        // Held under the writers' lock from before the question until after the delete: a
        // file that a run is writing is refused before anything is asked.
        std::unique_ptr<platform::HeldFile> held;
        try {
            held = files.holdExisting(name);
        } catch (const platform::FileLocked&) {
            throw RunError(lockedMessage(name));
        }
        if (held && !services_.messages.askYesNo("Attention ...", overwriteQuestion(name))) {
            window_.backToIdle();
            return false;
        }
        if (!held || !held->removeIfUnchanged()) {
            throw RunError("Le fichier " + quoted(name) +
                           " a été remplacé par autre chose entre-temps : rien n'a été supprimé. "
                           "Relancez la mesure pour décider à nouveau.");
        }
        break;
    }
    case platform::EntryKind::Absent:
        break;
    }
    try {
        log.emplace(createLog(name));
    } catch (const std::system_error& failure) {
        // The log's sync thread could not start (a process limit): said in French like any
        // other refusal of the system.
        throw platform::SystemError("Impossible de commencer l'enregistrement dans le fichier " +
                                        quoted(name),
                                    failure.code().value());
    }
    InitCourbe();
    return true;
}

std::unique_ptr<platform::RecordFile> SamplingRun::createLog(const std::string& name) {
    try {
        return services_.files.createRecords(name, kRecordSize);
    } catch (const platform::FileLocked&) {
        throw RunError(lockedMessage(name));
    }
}

bool SamplingRun::stopRequested() {
    return !window_.stopEnabled() || window_.windowClosing();
}

bool SamplingRun::waitUntil(std::int64_t tick, double period, std::string periodText) {
    platform::Clock& clock = services_.clock;
    double echeance = static_cast<double>(tick) + period;
    if (static_cast<double>(clock.nowMs()) >= echeance) {
        return true; // no wait: a STOP is noticed at the top of the next cycle
    }
    do {
        if (stopRequested()) {
            return false;
        }
        services_.pump.pumpOrWaitUntil(wakeUpAt(echeance));
        // A period typed while the run waits moves this wait too, so that a slip of the
        // keyboard (a digit too many) can be taken back before it costs hours of samples.
        if (std::string edited = window_.periodText(); edited != periodText) {
            periodText = std::move(edited);
            period = textToNumber(periodText);
            priority_.forPeriod(period);
            echeance = static_cast<double>(tick) + period;
        }
    } while (static_cast<double>(clock.nowMs()) < echeance);
    return !stopRequested();
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

        std::string periodText = window_.periodText();
        const double period = textToNumber(periodText);
        priority_.forPeriod(period);
        if (!waitUntil(clock.nowMs(), period, std::move(periodText))) {
            log.close();
            return;
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
        log.write(compteur, record);

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
