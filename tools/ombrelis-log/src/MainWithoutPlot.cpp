// ombrelis-log where Qt is not built (the Windows cross-build): check and csv as everywhere;
// plot says what it misses.
#include <iostream>
#include <ombrelis/logtool/Commands.h>
#include <ombrelis/platform/FileSizeLimit.h>
#include <string>
#include <vector>

#ifdef _WIN32
#include <ombrelis/platform/WindowsText.h>
#include <windows.h>
#endif

namespace {

/// The arguments as UTF-8. On Windows argv is in the ANSI code page, which cannot hold every
/// file name; the wide command line can.
std::vector<std::string> arguments(int argc, char** argv) {
#ifdef _WIN32
    (void)argc;
    (void)argv;
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; wide != nullptr && i < count; ++i) {
        args.push_back(ombrelis::platform::toUtf8(wide[i]));
    }
    ::LocalFree(wide);
    return args;
#else
    return {argv + 1, argv + argc};
#endif
}

} // namespace

int main(int argc, char** argv) {
    using namespace ombrelis::logtool;
    // A size limit (ulimit -f) is then a write error, told and cleaned up like a full disk.
    ombrelis::platform::writesPastFileSizeLimitFail();
    const PlotWriter plot = [](const PlotTrace&, const PlotRequest&) -> std::optional<std::string> {
        return "cet ombrelis-log a été construit sans Qt, qui dessine les images";
    };
    return runTool(arguments(argc, argv), std::cout, std::cerr, plot);
}
