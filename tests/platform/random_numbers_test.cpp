// The spray's chance: whatever seed the clock gives, every number lies in
// the range asked for.
#include "clock_seeded_random_numbers.h"

#include <gtest/gtest.h>

TEST(ClockSeededRandomNumbers, EveryNumberLiesInTheRangeAskedForWhateverTheSeed)
{
    ClockSeededRandomNumbers random;
    for (int seed = 0; seed < 20; ++seed) {
        random.reseed();
        for (const int bound : {1, 2, 4, 40}) {
            for (int draw = 0; draw < 1000; ++draw) {
                const int number = random.below(bound);
                ASSERT_GE(number, 0);
                ASSERT_LT(number, bound);
            }
        }
    }
}
