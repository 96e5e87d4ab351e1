// The Windows build's error texts: error numbers here are the system's own codes
// (GetLastError), which Windows would explain in the language of its installation.
#include "WindowsApi.h"

#include <ombrelis/platform/SystemError.h>
#include <ombrelis/platform/WindowsText.h>

namespace ombrelis::platform {

namespace {

/// Windows's own text for `code`, without the full stop and line break it ends with.
std::string systemText(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text = length > 0 && buffer != nullptr ? toUtf8(std::wstring(buffer, length)) : "";
    if (buffer != nullptr) {
        ::LocalFree(buffer);
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' ||
                             text.back() == '.')) {
        text.pop_back();
    }
    return text;
}

} // namespace

std::string frenchReason(int errorNumber) {
    switch (static_cast<DWORD>(errorNumber)) {
    case ERROR_FILE_NOT_FOUND:
        return "aucun fichier ou dossier de ce nom";
    case ERROR_PATH_NOT_FOUND:
        return "chemin d'accès introuvable";
    case ERROR_INVALID_DRIVE:
        return "lecteur introuvable";
    case ERROR_ACCESS_DENIED:
        return "accès refusé";
    case ERROR_NETWORK_ACCESS_DENIED:
        return "accès au réseau refusé";
    case ERROR_SHARING_VIOLATION:
        return "le fichier est utilisé par un autre programme";
    case ERROR_LOCK_VIOLATION:
        return "une partie du fichier est verrouillée par un autre programme";
    case ERROR_DELETE_PENDING:
        return "le fichier est en cours de suppression";
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return "le fichier existe déjà";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return "plus de place sur le périphérique";
    case ERROR_DISK_QUOTA_EXCEEDED:
        return "quota de disque dépassé";
    case ERROR_FILE_TOO_LARGE:
        return "fichier trop volumineux";
    case ERROR_WRITE_PROTECT:
        return "support protégé en écriture";
    case ERROR_NOT_READY:
        return "périphérique pas prêt";
    case ERROR_DEVICE_NOT_CONNECTED:
        return "périphérique absent";
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_IO_DEVICE:
    case ERROR_CRC:
        return "erreur d'entrée/sortie";
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return "chemin réseau introuvable";
    case ERROR_NETNAME_DELETED:
    case ERROR_UNEXP_NET_ERR:
        return "la connexion réseau a été perdue";
    case ERROR_INVALID_NAME:
        return "nom de fichier incorrect (les caractères * ? \" < > | n'y sont pas permis)";
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BUFFER_OVERFLOW:
        return "nom de fichier trop long";
    case ERROR_NO_UNICODE_TRANSLATION:
        return "le nom n'est pas un texte Unicode valide";
    case ERROR_DIRECTORY:
        return "nom de dossier incorrect";
    case ERROR_DIRECTORY_NOT_SUPPORTED:
        return "c'est un dossier";
    case ERROR_BAD_DEVICE:
        return "c'est un périphérique, pas un fichier (NUL, CON, PRN, AUX, COM1 à COM9 et "
               "LPT1 à LPT9 désignent des périphériques, même suivis d'une extension)";
    case ERROR_TOO_MANY_OPEN_FILES:
        return "trop de fichiers ouverts";
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return "mémoire insuffisante";
    case ERROR_INVALID_HANDLE:
        return "descripteur de fichier invalide";
    case ERROR_INVALID_PARAMETER:
        return "argument invalide";
    case ERROR_NOT_SUPPORTED:
    case ERROR_INVALID_FUNCTION:
        return "opération non prise en charge";
    case ERROR_MOD_NOT_FOUND:
        return "module introuvable";
    case ERROR_PROC_NOT_FOUND:
        return "point d'entrée introuvable";
    case ERROR_BAD_EXE_FORMAT:
        return "ce n'est pas une bibliothèque pour ce type de processeur (32 ou 64 bits)";
    case ERROR_DLL_INIT_FAILED:
        return "l'initialisation de la bibliothèque a échoué";
    default: {
        // Still French around the system's own text, which may be in another language.
        std::string reason = "erreur système n° " + std::to_string(errorNumber);
        if (const std::string text = systemText(static_cast<DWORD>(errorNumber)); !text.empty()) {
            reason += " (" + text + ")";
        }
        return reason;
    }
    }
}

} // namespace ombrelis::platform
