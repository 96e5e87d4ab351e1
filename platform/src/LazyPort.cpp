#include <ombrelis/platform/PortIo.h>

namespace ombrelis::platform {

LazyPort::LazyPort(PortFactory factory) : factory_(std::move(factory)) {}

PortIo& LazyPort::bound() {
    if (!bound_) {
        bound_ = factory_();
        if (!bound_) {
            throw PortError("Le port parallèle n'a pas pu être ouvert.");
        }
    }
    return *bound_;
}

void LazyPort::out(std::uint16_t port, std::uint8_t value) {
    bound().out(port, value);
}

std::uint8_t LazyPort::in(std::uint16_t port) {
    return bound().in(port);
}

} // namespace ombrelis::platform
