// The ppdev backend and the converter readout through the real open, ioctl and close calls,
// answered by the preloaded stand-in as the kernel's driver would answer them.

#include "ScopedVariable.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/ppdev.h>
#include <numbers>
#include <ombrelis/engine/ValueSources.h>
#include <ombrelis/platform/PpdevPort.h>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace ombrelis::testing {
namespace {

constexpr const char* kDevice = "/dev/parport0";

/// One open of the device, closed at the end of the scope.
class Handle {
public:
    Handle() : fd_(::open(kDevice, O_RDWR | O_CLOEXEC)) {}
    ~Handle() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    int fd() const { return fd_; }
    /// 0 when the request succeeds, else its errno.
    int request(unsigned long what, unsigned char* byte = nullptr) const {
        unsigned char scratch = 0;
        return ::ioctl(fd_, what, byte ? byte : &scratch) == 0 ? 0 : errno;
    }

private:
    int fd_;
};

struct RuleCase {
    const char* name;
    std::vector<unsigned long> before; ///< requests that must succeed first
    unsigned long request;
    int expected; ///< 0 for success, else the errno
    friend void PrintTo(const RuleCase& c, std::ostream* os) { *os << c.name; }
};

class PpdevRuleTest : public ::testing::TestWithParam<RuleCase> {};

TEST_P(PpdevRuleTest, AnswersAsTheDriver) {
    Handle port;
    ASSERT_GE(port.fd(), 0) << "the stand-in is not preloaded";
    for (unsigned long step : GetParam().before) {
        ASSERT_EQ(port.request(step), 0);
    }
    EXPECT_EQ(port.request(GetParam().request), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, PpdevRuleTest,
    ::testing::Values(RuleCase{"StatusBeforeClaim", {}, PPRSTATUS, EINVAL},
                      RuleCase{"DataWriteBeforeClaim", {}, PPWDATA, EINVAL},
                      RuleCase{"DataReadBeforeClaim", {}, PPRDATA, EINVAL},
                      RuleCase{"ControlWriteBeforeClaim", {}, PPWCONTROL, EINVAL},
                      RuleCase{"ReleaseBeforeClaim", {}, PPRELEASE, EINVAL},
                      RuleCase{"ExclusiveBeforeClaim", {}, PPEXCL, 0},
                      RuleCase{"ExclusiveAfterASharedClaim", {PPCLAIM}, PPEXCL, EINVAL},
                      RuleCase{"ExclusiveAgainAfterAnExclusiveClaim", {PPEXCL, PPCLAIM}, PPEXCL, 0},
                      RuleCase{"SecondClaim", {PPCLAIM}, PPCLAIM, EINVAL},
                      RuleCase{"StatusAfterClaim", {PPEXCL, PPCLAIM}, PPRSTATUS, 0},
                      RuleCase{"StatusAfterRelease", {PPCLAIM, PPRELEASE}, PPRSTATUS, EINVAL}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PpdevStandinTest, AnExclusiveRegistrationShutsOthersOutUntilItsClose) {
    auto first = std::make_unique<Handle>();
    Handle second;
    ASSERT_EQ(first->request(PPEXCL), 0);
    ASSERT_EQ(first->request(PPCLAIM), 0);
    EXPECT_EQ(second.request(PPCLAIM), ENXIO);
    first.reset();
    EXPECT_EQ(second.request(PPCLAIM), 0);
}

TEST(PpdevStandinTest, RegistersReadBackAsOnAPcPort) {
    Handle port;
    ASSERT_EQ(port.request(PPCLAIM), 0);
    unsigned char byte = 0xA5;
    ASSERT_EQ(port.request(PPWDATA, &byte), 0);
    byte = 0;
    ASSERT_EQ(port.request(PPRDATA, &byte), 0);
    EXPECT_EQ(byte, 0xA5);
    byte = 0xFF;
    ASSERT_EQ(port.request(PPWCONTROL, &byte), 0);
    ASSERT_EQ(port.request(PPRCONTROL, &byte), 0);
    EXPECT_EQ(byte, 0x0F) << "only the four control lines are kept";
    byte = 1; // CS high: the converter's output floats, the pull-up reads it high
    ASSERT_EQ(port.request(PPWDATA, &byte), 0);
    ASSERT_EQ(port.request(PPRSTATUS, &byte), 0);
    EXPECT_EQ(byte, 0x7F) << "the raw status register of a port with only the converter wired";
}

struct ConstantCase {
    const char* name;
    const char* signal;
    int count;
    friend void PrintTo(const ConstantCase& c, std::ostream* os) { *os << '"' << c.signal << '"'; }
};

class ConstantInputTest : public ::testing::TestWithParam<ConstantCase> {};

TEST_P(ConstantInputTest, EveryReadoutGivesTheExactCount) {
    ScopedVariable signal("OMBRELIS_STANDIN_SIGNAL", GetParam().signal);
    platform::PpdevPort port;
    platform::BusyWaitDelay delay;
    engine::Convertisseur converter(port, delay);
    for (int i = 0; i < 20; ++i) {
        ASSERT_EQ(converter.LireConvertisseur(), GetParam().count) << "readout " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Volts, ConstantInputTest,
                         ::testing::Values(ConstantCase{"Zero", "const 0", 0},
                                           ConstantCase{"OneCountPerMillivolt", "const 1.234",
                                                        1234},
                                           ConstantCase{"MidScale", "const 2.5", 2500},
                                           ConstantCase{"TopCount", "  const   4.095 ", 4095},
                                           ConstantCase{"AboveFullScale", "const 5", 4095},
                                           ConstantCase{"BelowZero", "const -1", 0}),
                         [](const auto& info) { return std::string(info.param.name); });

/// The sine of the default input, 0.5 Hz from 0.5 V to 3.5 V, on the monotonic clock.
long sineCount(std::chrono::steady_clock::time_point at) {
    const double seconds = std::chrono::duration<double>(at.time_since_epoch()).count();
    return std::lround(1000.0 * (2.0 + 1.5 * std::sin(std::numbers::pi * seconds)));
}

TEST(SineInputTest, EachReadoutGivesTheCountAtItsConversion) {
    ScopedVariable signal("OMBRELIS_STANDIN_SIGNAL", ""); // empty: the default sine
    platform::PpdevPort port;
    platform::BusyWaitDelay delay;
    engine::Convertisseur converter(port, delay);
    for (int i = 0; i < 100; ++i) {
        const auto before = std::chrono::steady_clock::now();
        const long value = converter.LireConvertisseur();
        const auto after = std::chrono::steady_clock::now();
        // The conversion started somewhere in between: the counts over that span bound it.
        long low = 4095;
        long high = 0;
        for (int k = 0; k <= 16; ++k) {
            const long c = sineCount(before + (after - before) * k / 16);
            low = std::min(low, c);
            high = std::max(high, c);
        }
        ASSERT_GE(value, low) << "readout " << i;
        ASSERT_LE(value, high) << "readout " << i;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

TEST(EarlyClockTest, AReadoutThatDoesNotWaitForTheConversionReadsWrong) {
    class NoWait final : public platform::MicroDelay {
    public:
        void waitMicroseconds(int) override {}
    } noWait;
    ScopedVariable signal("OMBRELIS_STANDIN_SIGNAL", "const 2.5");
    platform::PpdevPort port;
    engine::Convertisseur converter(port, noWait);
    int wrong = 0;
    for (int i = 0; i < 10; ++i) {
        wrong += converter.LireConvertisseur() != 2500 ? 1 : 0;
    }
    EXPECT_GT(wrong, 0);
}

TEST(StandinSettingsTest, AVariableItCannotReadRefusesTheOpen) {
    for (const auto& [name, value] : {std::pair{"OMBRELIS_STANDIN_SIGNAL", "square 1 0 5"},
                                      std::pair{"OMBRELIS_STANDIN_FAIL", "open:EPERM"}}) {
        ScopedVariable variable(name, value);
        const Handle port;
        const int error = errno;
        EXPECT_EQ(port.fd(), -1) << name;
        EXPECT_EQ(error, EINVAL) << name;
    }
}

} // namespace
} // namespace ombrelis::testing
