#ifdef _WIN32

#include "InpOutPort.h"

#include <ombrelis/platform/ParallelPort.h>
#include <string>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace ombrelis::platform {

namespace {

/// The system's own text for a Windows error code, in UTF-8, without the trailing line break.
std::string systemReason(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text;
    if (length > 0 && buffer != nullptr) {
        const int size = ::WideCharToMultiByte(CP_UTF8, 0, buffer, static_cast<int>(length),
                                               nullptr, 0, nullptr, nullptr);
        if (size > 0) {
            text.resize(static_cast<std::size_t>(size));
            ::WideCharToMultiByte(CP_UTF8, 0, buffer, static_cast<int>(length), text.data(), size,
                                  nullptr, nullptr);
        }
    }
    if (buffer != nullptr) {
        ::LocalFree(buffer);
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' ||
                             text.back() == '.')) {
        text.pop_back();
    }
    if (text.empty()) {
        text = "erreur système n° " + std::to_string(code);
    }
    return text;
}

// GetProcAddress returns a generic function pointer; going through void(*)() keeps the
// compiler from warning about the cast to the entry's real type.
template <typename Function> Function entryOf(HMODULE library, const char* name) {
    const FARPROC address = ::GetProcAddress(library, name);
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

} // namespace

InpOutPort::InpOutPort() {
    // The 64-bit library first: a 32-bit program simply fails to load it and goes on.
    const wchar_t* const names[] = {L"inpoutx64.dll", L"inpout32.dll"};
    HMODULE library = nullptr;
    for (const wchar_t* name : names) {
        library = ::LoadLibraryW(name);
        if (library != nullptr) {
            break;
        }
    }
    if (library == nullptr) {
        throw PortError("Impossible de charger la bibliothèque d'accès aux ports inpoutx64.dll "
                        "ou inpout32.dll : " +
                        systemReason(::GetLastError()) + ". Installez InpOut à côté du programme.");
    }
    inp32_ = entryOf<Inp32Function>(library, "Inp32");
    out32_ = entryOf<Out32Function>(library, "Out32");
    if (inp32_ == nullptr || out32_ == nullptr) {
        const DWORD code = ::GetLastError();
        ::FreeLibrary(library);
        throw PortError(std::string("Impossible de trouver le point d'entrée ") +
                        (inp32_ == nullptr ? "Inp32" : "Out32") +
                        " dans la bibliothèque d'accès aux ports : " + systemReason(code) + ".");
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

#endif // _WIN32
