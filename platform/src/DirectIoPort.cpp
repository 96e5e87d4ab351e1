#include <cerrno>
#include <ombrelis/platform/DirectIoPort.h>
#include <ombrelis/platform/ParallelPort.h>
#include <ombrelis/platform/SystemError.h>

#if defined(__linux__) && (defined(__x86_64__) || defined(__i386__))
#define OMBRELIS_DIRECT_IO 1
#include <sys/io.h>
#endif

namespace ombrelis::platform {

std::string directIoFailureMessage(int errorNumber) {
    std::string text = "Impossible d'obtenir l'accès direct aux ports 0x378 à 0x37A : " +
                       frenchReason(errorNumber) + ".";
    if (errorNumber == EPERM) {
        text += " Il faut le privilège CAP_SYS_RAWIO ; sans lui, chargez le module ppdev "
                "(modprobe ppdev) et ajoutez l'utilisateur au groupe lp.";
    } else if (errorNumber == ENOSYS) {
        // Kernels built without CONFIG_X86_IOPL_IOPERM: ppdev is then the only way.
        text += " Ce noyau ne permet pas l'accès direct aux ports : chargez le module ppdev "
                "(modprobe ppdev).";
    }
    return text;
}

#ifdef OMBRELIS_DIRECT_IO

namespace {
// Data, status and control registers of the first parallel port.
constexpr unsigned long kFirstRegister = 0x378;
constexpr unsigned long kRegisterCount = 3;
} // namespace

DirectIoPort::DirectIoPort() {
    if (::ioperm(kFirstRegister, kRegisterCount, 1) != 0) {
        throw PortError(directIoFailureMessage(errno));
    }
}

DirectIoPort::~DirectIoPort() {
    ::ioperm(kFirstRegister, kRegisterCount, 0);
}

void DirectIoPort::out(std::uint16_t port, std::uint8_t value) {
    requireDataRegister(port);
    ::outb(value, port);
}

std::uint8_t DirectIoPort::in(std::uint16_t port) {
    requireStatusRegister(port);
    return ::inb(port);
}

#else

DirectIoPort::DirectIoPort() {
    throw PortError("L'accès direct aux ports d'entrée-sortie n'existe pas sur ce système : "
                    "chargez le module ppdev (modprobe ppdev) pour utiliser /dev/parport0.");
}

DirectIoPort::~DirectIoPort() = default;

void DirectIoPort::out(std::uint16_t port, std::uint8_t) {
    requireDataRegister(port);
}

std::uint8_t DirectIoPort::in(std::uint16_t port) {
    requireStatusRegister(port);
    return 0;
}

#endif

} // namespace ombrelis::platform
