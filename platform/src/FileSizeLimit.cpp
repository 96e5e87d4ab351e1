#include <csignal>
#include <ombrelis/platform/FileSizeLimit.h>

namespace ombrelis::platform {

void writesPastFileSizeLimitFail() {
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

} // namespace ombrelis::platform
