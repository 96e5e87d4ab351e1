// Writes the workbook of LOG into OUT with RECORDS records a sheet, as ombrelis-log xlsx does
// with a million: the tests see the sheets follow each other on a small log.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <ombrelis/logtool/Input.h>
#include <ombrelis/logtool/LogReader.h>
#include <ombrelis/logtool/Workbook.h>

int main(int argc, char** argv) {
    using namespace ombrelis::logtool;
    if (argc != 4 || std::atoi(argv[3]) < 1) {
        std::fprintf(stderr, "usage: %s LOG OUT RECORDS\n", argv[0]);
        return 2;
    }
    try {
        const auto input = InputFile::open(argv[1]);
        LogReader reader(*input);
        if (const auto failure = writeWorkbook(reader, argv[1], argv[2],
                                               static_cast<std::uint64_t>(std::atoi(argv[3])))) {
            std::cerr << *failure << "\n";
            return 1;
        }
    } catch (const InputError& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}
