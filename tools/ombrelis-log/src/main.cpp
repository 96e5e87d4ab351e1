// ombrelis-log: check, convert and picture Ombrelis log files from the command line.
#include <iostream>
#include <memory>
#include <ombrelis/logtool/Commands.h>
#include <ombrelis/logtool/PlotImage.h>
#include <ombrelis/platform/FileSizeLimit.h>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace ombrelis::logtool;
    // A size limit (ulimit -f) is then a write error, told and cleaned up like a full disk.
    ombrelis::platform::writesPastFileSizeLimitFail();
    const std::vector<std::string> args(argv + 1, argv + argc);
    // Qt is started only for a picture, so check and csv work even where its platform
    // plugins are missing.
    std::unique_ptr<OffscreenGui> gui;
    const PlotWriter plot = [&](const PlotTrace& trace, const PlotRequest& request) {
        if (!gui) {
            gui = std::make_unique<OffscreenGui>(argc, argv);
        }
        return savePlotPng(trace, request);
    };
    return runTool(args, std::cout, std::cerr, plot);
}
