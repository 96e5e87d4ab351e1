#include <ombrelis/logtool/CsvWriter.h>
#include <ombrelis/logtool/FollowCsv.h>
#include <ombrelis/logtool/LogReader.h>

namespace ombrelis::logtool {

namespace {

std::string changeText(FollowedFile::Change change, const LogReader& reader) {
    std::string text = change == FollowedFile::Change::Replaced
                           ? " a été remplacé : suivi du nouveau fichier depuis son début"
                           : " a été raccourci : suivi depuis son début";
    if (reader.trailingBytes() != 0) {
        text += " (les " + std::to_string(reader.trailingBytes()) + " octets de la mesure " +
                std::to_string(reader.records() + 1) + ", jamais complète, sont laissés de côté)";
    }
    return text + ".";
}

} // namespace

void followCsv(FollowedFile& file, const std::string& name, std::ostream& out, std::ostream& err,
               CsvStyle style) {
    LogReader reader(file);
    CsvFormatter formatter(style);
    out << csvHeader(style) << std::flush;
    bool gone = false;
    while (out) {
        const LogView block = reader.next();
        if (!block.empty()) {
            const std::string_view lines = formatter.lines(block, reader.firstNumber());
            out.write(lines.data(), static_cast<std::streamsize>(lines.size()));
            out.flush();
            continue;
        }
        file.waitForChange(kLookEveryMs);
        // Looked at after the wait, before anything new is read: a log copied over this one in
        // place shows in its first record before its tail could pass for this one's.
        const FollowedFile::Change change = file.look();
        if (change == FollowedFile::Change::Replaced || change == FollowedFile::Change::Shortened) {
            err << "ombrelis-log : " << inputName(name) << changeText(change, reader) << "\n";
            reader.restart();
            gone = false;
            continue;
        }
        if (change == FollowedFile::Change::Gone && !gone) {
            err << "ombrelis-log : " << inputName(name)
                << " a disparu : attente d'un fichier de ce nom.\n";
        }
        gone = change == FollowedFile::Change::Gone;
    }
}

} // namespace ombrelis::logtool
