#include <gtest/gtest.h>
#include <ombrelis/engine/StatusLine.h>

using ombrelis::engine::statusText;

TEST(StatusLine, ConcatenatesTheFourNumbersWithTheirLabels) {
    EXPECT_EQ(statusText(3, 2016, 2051, 1008),
              "Mesure : 3     T - T0 : 2016 ms     Valeur : 2051   Frq réelle : 1008");
    EXPECT_EQ(statusText(1, 0, 0, 0),
              "Mesure : 1     T - T0 : 0 ms     Valeur : 0   Frq réelle : 0");
}

TEST(StatusLine, WritesPlainDecimalWithoutGroupingOrPadding) {
    EXPECT_EQ(statusText(2147483647, 2147483647, -32768, -5),
              "Mesure : 2147483647     T - T0 : 2147483647 ms     Valeur : -32768   "
              "Frq réelle : -5");
}
