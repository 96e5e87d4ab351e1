#include <ombrelis/chart/StripChart.h>

namespace ombrelis::chart {

// Filled in with the chart's algorithms.

} // namespace ombrelis::chart
