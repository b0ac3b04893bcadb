// The spray's chance: whatever seed the clock gives, every number from 0 up
// to the bound comes up, so that the spray reaches every pixel of its square,
// and none outside. Four thousand draws leave a number out with a chance
// below 1 in 10^40.
#include "clock_seeded_random_numbers.h"

#include <gtest/gtest.h>

#include <set>

TEST(ClockSeededRandomNumbers, EveryNumberBelowTheBoundComesUpAndNoOther)
{
    ClockSeededRandomNumbers random;
    for (const int bound : {1, 2, 4, 40}) {
        random.reseed();
        std::set<int> drawn;
        for (int draw = 0; draw < 4000; ++draw)
            drawn.insert(random.below(bound));
        std::set<int> everyOne;
        for (int number = 0; number < bound; ++number)
            everyOne.insert(number);
        EXPECT_EQ(drawn, everyOne) << "below(" << bound << ")";
    }
}
