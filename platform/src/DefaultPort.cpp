#include <ombrelis/platform/PortIo.h>

namespace ombrelis::platform {

std::unique_ptr<PortIo> openDefaultPort() {
    throw PortError("Le port parallèle n'est pas encore pris en charge.");
}

} // namespace ombrelis::platform
