#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ombrelis/platform/PortIo.h>
#include <string>
#include <vector>

namespace ombrelis::platform {
namespace {

/// Records every access in a log that outlives it; reads give the port number's low byte.
class LoggingPort final : public PortIo {
public:
    explicit LoggingPort(std::vector<std::string>& log) : log_(log) {}
    void out(std::uint16_t port, std::uint8_t value) override {
        log_.push_back("out " + std::to_string(port) + " " + std::to_string(value));
    }
    std::uint8_t in(std::uint16_t port) override {
        log_.push_back("in " + std::to_string(port));
        return static_cast<std::uint8_t>(port & 0xFF);
    }

private:
    std::vector<std::string>& log_;
};

TEST(LazyPortTest, OpensThePortAtItsFirstUseWhicheverItIsAndOnlyOnce) {
    const std::function<void(LazyPort&)> firstUses[] = {[](LazyPort& p) { p.out(888, 1); },
                                                        [](LazyPort& p) { p.in(889); },
                                                        [](LazyPort& p) { p.claim(); }};
    for (const auto& firstUse : firstUses) {
        int opened = 0;
        std::vector<std::string> log;
        LazyPort port([&] {
            ++opened;
            return std::make_unique<LoggingPort>(log);
        });
        EXPECT_FALSE(port.isBound());
        firstUse(port);
        EXPECT_EQ(opened, 1);
        EXPECT_TRUE(port.isBound());
        EXPECT_EQ(port.in(889), 889 & 0xFF);
        port.out(888, 2);
        EXPECT_EQ(opened, 1);
        EXPECT_EQ(log.back(), "out 888 2");
    }
}

TEST(LazyPortTest, AFailedOpenIsReportedAtTheUseAndTriedAgainAtTheNext) {
    int attempts = 0;
    std::vector<std::string> log;
    LazyPort port([&]() -> std::unique_ptr<PortIo> {
        if (++attempts < 3) {
            throw PortError("Impossible d'ouvrir le port parallèle /dev/parport0 : "
                            "permission refusée.");
        }
        return std::make_unique<LoggingPort>(log);
    });

    try {
        port.out(888, 1);
        FAIL() << "no error from a failing open";
    } catch (const PortError& e) {
        EXPECT_STREQ(e.what(), "Impossible d'ouvrir le port parallèle /dev/parport0 : "
                               "permission refusée.");
    }
    EXPECT_FALSE(port.isBound());
    EXPECT_THROW(port.in(889), PortError);
    EXPECT_EQ(attempts, 2);

    port.out(888, 0);
    EXPECT_EQ(attempts, 3);
    EXPECT_TRUE(port.isBound());
    EXPECT_EQ(log, std::vector<std::string>{"out 888 0"});
}

TEST(LazyPortTest, AFactoryThatGivesNothingIsAPortError) {
    LazyPort port([]() -> std::unique_ptr<PortIo> { return nullptr; });
    EXPECT_THROW(port.out(888, 1), PortError);
    EXPECT_FALSE(port.isBound());
}

} // namespace
} // namespace ombrelis::platform
