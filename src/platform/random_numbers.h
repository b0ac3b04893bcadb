// Chance, for the spray: whole numbers drawn evenly from a range, from a
// sequence that starts afresh, seeded from a clock, at every spray press.
#pragma once

class RandomNumbers {
public:
    virtual ~RandomNumbers() = default;
    // Starts a new sequence, seeded from a clock.
    virtual void reseed() = 0;
    // The next number of the sequence, from 0 to bound - 1, each as likely
    // as any other. Bound is at least 1.
    virtual int below(int bound) = 0;
};
