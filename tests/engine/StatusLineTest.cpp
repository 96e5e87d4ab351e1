#include <gtest/gtest.h>
#include <ombrelis/engine/StatusLine.h>

using ombrelis::engine::statusText;

// The labels and spacing are checked on the run's own status lines.
TEST(StatusLine, WritesPlainDecimalWithoutGroupingOrPadding) {
    EXPECT_EQ(statusText(2147483647, 2147483647, -32768, -5),
              "Mesure : 2147483647     T - T0 : 2147483647 ms     Valeur : -32768   "
              "Frq réelle : -5");
}
