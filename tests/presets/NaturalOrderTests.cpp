#include "presets/NaturalOrder.h"

#include <gtest/gtest.h>

using mv::pluginCore::NaturalOrder;

namespace
{
struct OrderCase
{
    const char* before;
    const char* after;
};

class NaturalOrderPairs : public ::testing::TestWithParam<OrderCase>
{
};

TEST_P (NaturalOrderPairs, FirstSortsBeforeSecondAndNotTheOtherWayRound)
{
    const auto& c = GetParam();
    EXPECT_LT (NaturalOrder::compare (c.before, c.after), 0) << c.before << " vs " << c.after;
    EXPECT_GT (NaturalOrder::compare (c.after, c.before), 0) << c.after << " vs " << c.before;
}

INSTANTIATE_TEST_SUITE_P (Cases,
                          NaturalOrderPairs,
                          ::testing::Values (OrderCase{ "Pad 2", "Pad 10" },
                                             OrderCase{ "b", "B2" },
                                             OrderCase{ "a", "B" },
                                             OrderCase{ "A", "b" },
                                             OrderCase{ "Hall 9 Dark", "Hall 10" },
                                             OrderCase{ "x1y2", "x1y10" },
                                             OrderCase{ "v2.9", "v2.10" },
                                             OrderCase{ "7", "12" },
                                             // Runs far beyond 64 bits still compare by value.
                                             OrderCase{ "n99999999999999999999999", "n100000000000000000000000" },
                                             OrderCase{ "Pad", "Pad 1" },
                                             OrderCase{ "/lib/presets/Air", "/lib/presets/bloom" },
                                             // Equal by value and case: plain character order decides.
                                             OrderCase{ "Pad 01", "Pad 1" },
                                             OrderCase{ "PAD", "pad" }));

TEST (NaturalOrder, IdenticalTextsAreEqual)
{
    EXPECT_EQ (NaturalOrder::compare ("Pad 10", "Pad 10"), 0);
    EXPECT_EQ (NaturalOrder::compare ("", ""), 0);
}

TEST (NaturalOrder, SortsAMixedListLikeAPerson)
{
    std::vector<juce::String> names{ "Pad 10", "b", "Pad 2", "B2", "a10", "A9", "Choir", "pad 1" };
    std::sort (names.begin(), names.end(), NaturalOrder::isBefore);

    const std::vector<juce::String> expected{ "A9", "a10", "b", "B2", "Choir", "pad 1", "Pad 2", "Pad 10" };
    EXPECT_EQ (names, expected);
}
} // namespace
