// The program's chance: a Mersenne twister, seeded from the system clock.
#pragma once

#include "random_numbers.h"

#include <random>

class ClockSeededRandomNumbers : public RandomNumbers {
public:
    ClockSeededRandomNumbers();
    void reseed() override;
    int below(int bound) override;

private:
    std::mt19937 generator;
};
