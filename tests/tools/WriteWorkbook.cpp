// Writes the workbook of LOG into OUT with RECORDS records a sheet instead of a million, so
// that the tests see the sheets follow each other on a small log.
#include <cstdlib>
#include <iostream>
#include <ombrelis/logtool/Workbook.h>

int main(int argc, char** argv) {
    using namespace ombrelis::logtool;
    if (argc != 4 || std::atoi(argv[3]) < 1) {
        return 2;
    }
    const auto input = InputFile::open(argv[1]);
    LogReader reader(*input);
    const auto failure =
        writeWorkbook(reader, argv[1], argv[2], static_cast<std::uint64_t>(std::atoi(argv[3])));
    std::cerr << failure.value_or("");
    return failure ? 1 : 0;
}
