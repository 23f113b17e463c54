#include "OrderChoice.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <utility>

namespace {

class LastIndexForOrder : public ::testing::TestWithParam<std::pair<double, int>> {};

TEST_P(LastIndexForOrder, RoundsOrderMinusOneHalfToEven)
{
    const auto [order, expected] = GetParam();
    EXPECT_EQ(lastIndexForOrder(order), std::optional<std::int16_t>(expected)) << "order " << order;
}

INSTANTIATE_TEST_SUITE_P(Orders, LastIndexForOrder,
                         ::testing::Values(std::pair{3.0, 2}, std::pair{1.0, 0}, std::pair{0.0, -1},
                                           std::pair{25.0, 24}, std::pair{2.5, 2},
                                           std::pair{3.5, 2}, std::pair{4.5, 4}, std::pair{2.6, 2},
                                           std::pair{-0.5, -2}, std::pair{32768.0, 32767},
                                           std::pair{-32767.0, -32768}, std::pair{32768.4, 32767}));

TEST(LastIndexForOrderOutside, NoValueBeyondSixteenBits)
{
    EXPECT_EQ(lastIndexForOrder(32769.0), std::nullopt);
    EXPECT_EQ(lastIndexForOrder(32768.5), std::nullopt); // 32767.5 rounds to the even 32768
    EXPECT_EQ(lastIndexForOrder(-32768.0), std::nullopt);
    EXPECT_EQ(lastIndexForOrder(1e300), std::nullopt);
    EXPECT_EQ(lastIndexForOrder(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
}

} // namespace
