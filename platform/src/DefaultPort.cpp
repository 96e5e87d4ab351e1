#include <ombrelis/platform/ParallelPort.h>
#include <ombrelis/platform/PortIo.h>

#ifdef _WIN32
#include <ombrelis/platform/InpOutPort.h>
#else
#include <ombrelis/platform/DirectIoPort.h>
#include <ombrelis/platform/PpdevPort.h>
#include <sys/stat.h>
#endif

namespace ombrelis::platform {

namespace {

PortFacts machineFacts() {
    PortFacts facts;
#ifdef _WIN32
    facts.onWindows = true;
#endif
#ifdef __linux__
    facts.onLinux = true;
    struct stat st {};
    // Any entry under the name counts: if it is not a usable device, the ppdev backend says
    // why, which helps more than silently falling back to direct I/O.
    facts.parportDevicePresent = ::stat(kDefaultParportDevice, &st) == 0;
#endif
#if defined(__x86_64__) || defined(__i386__) || defined(_M_IX86) || defined(_M_X64)
    facts.onX86 = true;
#endif
    return facts;
}

} // namespace

std::unique_ptr<PortIo> openDefaultPort() {
    switch (choosePortBackend(machineFacts())) {
#ifdef _WIN32
    case PortBackend::InpOut:
        return std::make_unique<InpOutPort>();
#else
    case PortBackend::Ppdev:
        return std::make_unique<PpdevPort>(kDefaultParportDevice);
    case PortBackend::DirectIo:
        return std::make_unique<DirectIoPort>();
#endif
    default:
        break;
    }
    throw PortError(std::string("Aucun accès au port parallèle sur ce système : le périphérique ") +
                    kDefaultParportDevice +
                    " est absent et l'accès direct aux ports n'existe pas sur ce processeur. "
                    "Chargez le module ppdev (modprobe ppdev).");
}

} // namespace ombrelis::platform
