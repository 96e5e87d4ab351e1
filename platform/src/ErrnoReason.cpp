// The C library's error numbers (errno) in French. On POSIX systems they are the system's own
// codes; on Windows the C library sets them too, beside the system's codes (GetLastError).
#include <cerrno>
#include <cstring>
#include <ombrelis/platform/SystemError.h>

namespace ombrelis::platform {

std::string errnoReason(int errorNumber) {
    switch (errorNumber) {
    case ENOSPC:
        return "plus de place sur le périphérique";
#ifdef EDQUOT // not in the Windows C library
    case EDQUOT:
        return "quota de disque dépassé";
#endif
    case EACCES:
        return "permission refusée";
    case EPERM:
        return "opération non permise";
    case ENOENT:
        return "aucun fichier ou dossier de ce nom";
    case ENOTDIR:
        return "un élément du chemin n'est pas un dossier";
    case EISDIR:
        return "c'est un dossier";
    case EROFS:
        return "système de fichiers en lecture seule";
    case EEXIST:
        return "le fichier existe déjà";
    case EBUSY:
        return "périphérique ou ressource occupé";
    case EIO:
        return "erreur d'entrée/sortie";
    case EFBIG:
        return "fichier trop volumineux";
    case ENAMETOOLONG:
        return "nom de fichier trop long";
    case ELOOP:
        return "trop de niveaux de liens symboliques";
    case EMFILE:
    case ENFILE:
        return "trop de fichiers ouverts";
    case ENODEV:
    case ENXIO:
        return "périphérique absent";
    case EINVAL:
        return "argument invalide";
    case ETXTBSY:
        return "fichier occupé";
    case ENOTTY:
        return "opération inappropriée pour ce périphérique";
    case ENOMEM:
        return "mémoire insuffisante";
    case EBADF:
        return "descripteur de fichier invalide";
    case EAGAIN:
        return "ressource temporairement indisponible";
    case EPIPE:
        return "le tube est fermé à l'autre bout";
    case ENOSYS:
        return "fonction non prise en charge par le système";
    default:
        // Still French around the system's own text, which may be in another language.
        return "erreur système n° " + std::to_string(errorNumber) + " (" +
               std::strerror(errorNumber) + ")";
    }
}

} // namespace ombrelis::platform
