#include "WindowsApi.h"

#include <ombrelis/platform/InpOutPort.h>
#include <ombrelis/platform/ParallelPort.h>
#include <ombrelis/platform/SystemError.h>
#include <ombrelis/platform/WindowsText.h>

namespace ombrelis::platform {

namespace {

// GetProcAddress returns a generic function pointer; going through void(*)() keeps the
// compiler from warning about the cast to the entry's real type.
template <typename Function> Function entryOf(HMODULE library, const char* name) {
    const FARPROC address = ::GetProcAddress(library, name);
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == names.size() ? " ou " : ", ") + names[i];
    }
    return text;
}

} // namespace

InpOutPort::InpOutPort(const std::vector<std::string>& libraries) {
    HMODULE library = nullptr;
    std::string loaded;
    // A library that is there but cannot be loaded (the wrong processor, a failed start)
    // says more than the absence of the next name.
    DWORD reason = ERROR_MOD_NOT_FOUND;
    for (const std::string& name : libraries) {
        library = ::LoadLibraryW(toUtf16(name, "Impossible de charger " + name).c_str());
        if (library != nullptr) {
            loaded = name;
            break;
        }
        if (const DWORD error = ::GetLastError(); error != ERROR_MOD_NOT_FOUND) {
            reason = error;
        }
    }
    if (library == nullptr) {
        throw PortError("Impossible de charger la bibliothèque d'accès aux ports " +
                        joined(libraries) + " : " + frenchReason(static_cast<int>(reason)) +
                        ". Installez InpOut à côté du programme.");
    }
    inp32_ = entryOf<Inp32Function>(library, "Inp32");
    out32_ = entryOf<Out32Function>(library, "Out32");
    if (inp32_ == nullptr || out32_ == nullptr) {
        const DWORD error = ::GetLastError();
        ::FreeLibrary(library);
        throw PortError(std::string("Impossible de trouver le point d'entrée ") +
                        (inp32_ == nullptr ? "Inp32" : "Out32") + " dans la bibliothèque " +
                        loaded + " : " + frenchReason(static_cast<int>(error)) + ".");
    }
    // Without its driver, InpOut reads every port as 0 and drops every write: the converter
    // would seem to read 0 V for ever. Versions that can tell say so.
    using DriverCheck = BOOL(__stdcall*)();
    if (const auto driverOpen = entryOf<DriverCheck>(library, "IsInpOutDriverOpen");
        driverOpen != nullptr && !driverOpen()) {
        ::FreeLibrary(library);
        throw PortError("Le pilote de la bibliothèque " + loaded +
                        " n'est pas en service : lancez le programme une fois en tant "
                        "qu'administrateur pour qu'InpOut l'installe.");
    }
    library_ = library;
}

InpOutPort::~InpOutPort() {
    if (library_ != nullptr) {
        ::FreeLibrary(static_cast<HMODULE>(library_));
    }
}

void InpOutPort::out(std::uint16_t port, std::uint8_t value) {
    requireDataRegister(port);
    out32_(static_cast<short>(port), static_cast<short>(value));
}

std::uint8_t InpOutPort::in(std::uint16_t port) {
    requireStatusRegister(port);
    return static_cast<std::uint8_t>(inp32_(static_cast<short>(port)) & 0xFF);
}

} // namespace ombrelis::platform
