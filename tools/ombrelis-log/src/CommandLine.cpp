#include <charconv>
#include <ombrelis/logtool/CommandLine.h>
#include <ombrelis/platform/SystemError.h>

namespace ombrelis::logtool {

namespace {

using platform::quoted;

Action actionNamed(const std::string& name) {
    if (name == "check") {
        return Action::Check;
    }
    if (name == "csv") {
        return Action::Csv;
    }
    if (name == "plot") {
        return Action::Plot;
    }
    if (name == "xlsx") {
        return Action::Xlsx;
    }
    throw UsageError("commande inconnue " + quoted(name) + " (check, csv, plot ou xlsx)");
}

int pictureSize(const std::string& option, const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < kSmallestPicture ||
        value > kLargestPicture) {
        throw UsageError(option + " demande un nombre entier de pixels de " +
                         std::to_string(kSmallestPicture) + " à " +
                         std::to_string(kLargestPicture) + ", et non " + quoted(text));
    }
    return value;
}

} // namespace

Command parseCommandLine(const std::vector<std::string>& args) {
    Command command;
    std::vector<std::string> operands;
    std::optional<std::string> width;
    std::optional<std::string> height;
    bool optionsEnded = false;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "-h" || arg == "--help") {
            return Command{};
        }
        if (arg == "-f" || arg == "--follow") {
            command.follow = true;
            continue;
        }
        if (arg == "--tableur") {
            command.tableur = true;
            continue;
        }
        std::string name = arg;
        std::optional<std::string> value;
        if (const std::size_t eq = arg.find('=');
            arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
        }
        if (name != "-o" && name != "--output" && name != "--width" && name != "--height") {
            throw UsageError("option inconnue " + quoted(arg));
        }
        if (!value) {
            if (i + 1 >= args.size()) {
                throw UsageError(name + " demande une valeur");
            }
            value = args[++i];
        }
        if (name == "--width") {
            width = value;
        } else if (name == "--height") {
            height = value;
        } else {
            command.output = value;
        }
    }

    if (operands.empty()) {
        throw UsageError("aucune commande donnée");
    }
    command.action = actionNamed(operands[0]);
    if (operands.size() < 2) {
        throw UsageError(operands[0] + " demande le fichier de mesures à lire");
    }
    if (operands.size() > 2) {
        throw UsageError("argument en trop " + quoted(operands[2]));
    }
    command.input = operands[1];

    if (command.action != Action::Plot && (width || height)) {
        throw UsageError("--width et --height ne servent qu'à plot");
    }
    if (command.follow && command.action != Action::Csv) {
        throw UsageError("--follow ne sert qu'à csv");
    }
    if (command.tableur && command.action != Action::Csv) {
        throw UsageError("--tableur ne sert qu'à csv");
    }
    if (command.follow && command.input == "-") {
        throw UsageError("--follow suit un fichier par son nom ; l'entrée standard se lit "
                         "jusqu'au bout sans lui");
    }
    if (command.action == Action::Check && command.output) {
        throw UsageError("check écrit son rapport sur la sortie standard ; il ne prend pas -o");
    }
    if (command.output && command.output->empty()) {
        throw UsageError("-o demande un nom de fichier");
    }
    if (command.action == Action::Xlsx && !command.output) {
        throw UsageError("xlsx demande -o SORTIE.xlsx, le classeur à écrire");
    }
    if (command.action == Action::Plot) {
        if (!command.output) {
            throw UsageError("plot demande -o SORTIE.png, l'image à écrire");
        }
        if (width) {
            command.width = pictureSize("--width", *width);
        }
        if (height) {
            command.height = pictureSize("--height", *height);
        }
    }
    return command;
}

std::string usageText() {
    return R"(ombrelis-log : lit un fichier de mesures d'Ombrelis (une suite, sans en-tête, de mesures
de 14 octets)

Utilisation :
  ombrelis-log check FICHIER
  ombrelis-log csv [--tableur] FICHIER [-o SORTIE]
  ombrelis-log csv --follow [--tableur] FICHIER [-o SORTIE]
  ombrelis-log plot FICHIER -o SORTIE.png [--width L] [--height H]
  ombrelis-log xlsx FICHIER -o SORTIE.xlsx
  ombrelis-log --help

FICHIER peut être un fichier ordinaire, un tube ou une FIFO ; - lit l'entrée standard. Quelle
que soit sa taille, il est lu par petits blocs, comme un flux : la mémoire reste faible, et
les lignes d'un tube sortent sans attendre qu'il se termine.

Commandes :
  check  Dit si FICHIER est sain : les mesures entières et une éventuelle mesure incomplète
         à la fin, TempsMs à 0 dans la mesure 1 et jamais en recul, chaque Heure au format
         HH:MM:SS, chaque Valeur entre 0 et 4095 ; puis la durée de la série, l'intervalle
         moyen et le plus long entre deux mesures, la plus petite et la plus grande valeur.
  csv    Une ligne par mesure, après l'en-tête record,valeur,heure,temps_ms,tension_v
         (tension_v = Valeur / 1000 : une unité vaut un millivolt sur la référence de
         4,096 V ; avec un point décimal, comme l'attendent les autres programmes). Écrit
         dans SORTIE, ou sur la sortie standard sans -o. Une mesure incomplète à la fin est
         signalée sur la sortie d'erreur et n'est pas écrite.
         Avec --tableur, pour un tableur réglé en français (Excel, LibreOffice Calc) :
         des points-virgules entre les champs, une virgule décimale, des fins de ligne
         CRLF et une marque d'ordre des octets UTF-8 ; le même en-tête, la même
         numérotation.
         Avec --follow (-f), continue comme tail -f tant qu'Ombrelis écrit FICHIER :
         chaque nouvelle mesure devient une ligne dès qu'elle est entière, écrite aussitôt,
         jusqu'à l'interruption (Ctrl+C). Un FICHIER remplacé ou raccourci (une nouvelle
         série sous le même nom) est signalé sur la sortie d'erreur et suivi depuis son
         début, numéroté à nouveau depuis 1.
  plot   Une image PNG de toute la série : le temps en secondes en abscisse, les volts de 0 à
         4,096 en ordonnée, des lignes de repère à 1, 2 et 3 V. Taille par défaut
         1200 x 600 pixels. Aucun écran n'est nécessaire.
  xlsx   Un classeur Excel (SORTIE.xlsx) : les mesures en nombres (l'heure en texte), une
         ligne d'en-tête figée, 1 048 575 mesures par feuille (Mesures, Mesures 2...), et
         une feuille Graphique : la tension en fonction du temps, avec les repères à 1, 2
         et 3 V. Le graphique montre toute la série réduite à au plus 16 384 points (pour
         chaque tranche de temps, la première, la plus basse, la plus haute et la dernière
         mesure) ; les feuilles Mesures gardent toutes les mesures.

Code de sortie :
  0  check : le fichier est sain (un fichier vide est sain) ; csv, plot, xlsx : la sortie
     est écrite
  1  check : le fichier est endommagé ; le rapport dit à partir de quelle mesure et pourquoi
  2  le fichier ne peut pas être lu, la sortie ne peut pas être écrite, ou la ligne de
     commande est incorrecte

FICHIER est seulement lu : une sortie qui désigne FICHIER lui-même est refusée.
)";
}

} // namespace ombrelis::logtool
