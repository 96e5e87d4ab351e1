#include <cerrno>
#include <fcntl.h>
#include <ombrelis/platform/PpdevPort.h>
#include <ombrelis/platform/SystemError.h>
#include <unistd.h>

#ifdef __linux__
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#endif

namespace ombrelis::platform {

namespace {

std::string actionText(PpdevStep step, const std::string& device) {
    switch (step) {
    case PpdevStep::Open:
        return "Impossible d'ouvrir le port parallèle " + device;
    case PpdevStep::Exclusive:
        return "Impossible de réserver le port parallèle " + device + " pour ce seul programme";
    case PpdevStep::Claim:
        return "Impossible de prendre la main sur le port parallèle " + device;
    case PpdevStep::Write:
        return "Impossible d'écrire sur le port parallèle " + device;
    case PpdevStep::Read:
        return "Impossible de lire le port parallèle " + device;
    }
    return "Échec sur le port parallèle " + device;
}

std::string hintFor(PpdevStep step, int errorNumber) {
    switch (errorNumber) {
    case EACCES:
        return "Ajoutez l'utilisateur au groupe lp.";
    case ENOENT:
    case ENODEV:
        return "Chargez le module ppdev (modprobe ppdev).";
    case EBUSY:
        return "Le pilote d'imprimante tient le port : déchargez le module lp (rmmod lp).";
    case ENXIO:
        // An exclusive claim is refused with ENXIO while another driver is registered on the
        // port; at open it means the node has no driver behind it.
        return step == PpdevStep::Open
                   ? "Chargez le module ppdev (modprobe ppdev)."
                   : "Le pilote d'imprimante tient peut-être le port : déchargez le module lp "
                     "(rmmod lp).";
    case ENOTTY:
        return "Ce fichier n'est pas un port parallèle.";
    default:
        return {};
    }
}

} // namespace

std::string ppdevFailureMessage(PpdevStep step, const std::string& device, int errorNumber) {
    std::string text = actionText(step, device) + " : " + frenchReason(errorNumber) + ".";
    const std::string hint = hintFor(step, errorNumber);
    if (!hint.empty()) {
        text += " " + hint;
    }
    return text;
}

#ifdef __linux__

PpdevPort::PpdevPort(std::string device) : device_(std::move(device)) {
    fd_ = ::open(device_.c_str(), O_RDWR | O_CLOEXEC);
    if (fd_ < 0) {
        throw PortError(ppdevFailureMessage(PpdevStep::Open, device_, errno));
    }
    // PPEXCL must come before the claim: it asks the claim to refuse sharing the port.
    PpdevStep step = PpdevStep::Exclusive;
    int status = ::ioctl(fd_, PPEXCL);
    if (status == 0) {
        step = PpdevStep::Claim;
        status = ::ioctl(fd_, PPCLAIM);
    }
    if (status != 0) {
        const int error = errno;
        ::close(fd_);
        fd_ = -1;
        throw PortError(ppdevFailureMessage(step, device_, error));
    }
}

PpdevPort::~PpdevPort() {
    if (fd_ >= 0) {
        ::ioctl(fd_, PPRELEASE);
        ::close(fd_);
    }
}

void PpdevPort::out(std::uint16_t port, std::uint8_t value) {
    requireDataRegister(port);
    unsigned char byte = value;
    if (::ioctl(fd_, PPWDATA, &byte) != 0) {
        throw PortError(ppdevFailureMessage(PpdevStep::Write, device_, errno));
    }
}

std::uint8_t PpdevPort::in(std::uint16_t port) {
    requireStatusRegister(port);
    unsigned char byte = 0;
    if (::ioctl(fd_, PPRSTATUS, &byte) != 0) {
        throw PortError(ppdevFailureMessage(PpdevStep::Read, device_, errno));
    }
    return byte;
}

#else // ppdev is a Linux driver

PpdevPort::PpdevPort(std::string device) : device_(std::move(device)) {
    throw PortError("Impossible d'ouvrir le port parallèle " + device_ +
                    " : le pilote ppdev n'existe que sous Linux.");
}

PpdevPort::~PpdevPort() = default;

void PpdevPort::out(std::uint16_t port, std::uint8_t) {
    requireDataRegister(port);
}

std::uint8_t PpdevPort::in(std::uint16_t port) {
    requireStatusRegister(port);
    return 0;
}

#endif

} // namespace ombrelis::platform
