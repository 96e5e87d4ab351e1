// Where libxlsxwriter is not at hand (the Windows cross-build): xlsx says what it misses.
#include <ombrelis/logtool/Workbook.h>

namespace ombrelis::logtool {

std::optional<std::string> writeWorkbook(LogReader&, const std::string&, const std::string&,
                                         std::uint64_t) {
    return "cet ombrelis-log a été construit sans libxlsxwriter, qui écrit les classeurs";
}

} // namespace ombrelis::logtool
