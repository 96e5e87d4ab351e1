#include <gtest/gtest.h>
#include <ombrelis/platform/WindowsDeviceName.h>
#include <ombrelis/testing/CaseNames.h>

namespace ombrelis::platform {
namespace {

struct NameCase {
    const char* name;
    const char* path;
    bool device;
};

class WindowsDeviceNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(WindowsDeviceNameTest, TellsDevicesFromFiles) {
    EXPECT_EQ(isWindowsDeviceName(GetParam().path), GetParam().device) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(
    Names, WindowsDeviceNameTest,
    ::testing::Values(
        NameCase{"nul", "NUL", true}, NameCase{"nul_lower_in_folder", "C:\\m\\nul", true},
        NameCase{"nul_extension", "C:\\m\\nul.txt", true},
        NameCase{"con_two_extensions", "d:/m/Con.log.dat", true},
        NameCase{"prn_blank_before_dot", "C:\\m\\PRN .dat", true},
        NameCase{"aux_stream", "C:\\m\\aux:x", true}, NameCase{"com1", "C:\\m\\COM1", true},
        NameCase{"lpt1", "C:\\m\\lpt1.dat", true}, NameCase{"lpt_superscript", "LPT\xC2\xB9", true},
        NameCase{"drive_relative", "C:nul", true},
        NameCase{"device_namespace", "\\\\.\\C:\\m\\a.dat", true},
        NameCase{"globalroot", "\\\\?\\GLOBALROOT\\Device\\Null", true},
        NameCase{"long_path_file", "\\\\?\\C:\\m\\a.dat", false},
        NameCase{"nul_as_folder", "C:\\nul\\a.dat", false},
        NameCase{"longer_word", "C:\\m\\null.dat", false}, NameCase{"com10", "C:\\m\\COM10", false},
        NameCase{"console", "console", false},
        NameCase{"word_ending_in_con", "C:\\m\\falcon.dat", false},
        NameCase{"plain", "mesures.dat", false}),
    testing::NamedAfterName{});

} // namespace
} // namespace ombrelis::platform
