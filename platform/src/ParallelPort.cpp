#include <ombrelis/platform/ParallelPort.h>
#include <ombrelis/platform/PortIo.h>
#include <string>

namespace ombrelis::platform {

PortBackend choosePortBackend(const PortFacts& facts) noexcept {
    if (facts.onWindows) {
        return PortBackend::InpOut;
    }
    if (!facts.onLinux) {
        return PortBackend::Unavailable;
    }
    if (facts.parportDevicePresent) {
        return PortBackend::Ppdev;
    }
    return facts.onX86 ? PortBackend::DirectIo : PortBackend::Unavailable;
}

void requireDataRegister(std::uint16_t port) {
    if (port != kParallelDataRegister) {
        throw PortError("Écriture refusée sur le port " + std::to_string(port) +
                        " : seul le registre de données du port parallèle (888) peut être écrit.");
    }
}

void requireStatusRegister(std::uint16_t port) {
    if (port != kParallelStatusRegister) {
        throw PortError("Lecture refusée sur le port " + std::to_string(port) +
                        " : seul le registre d'état du port parallèle (889) peut être lu.");
    }
}

} // namespace ombrelis::platform
