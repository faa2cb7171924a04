#pragma once
// The program's one pseudo-random generator. Seeded from the clock at start-up;
// tests seed it to make shuffles and choices reproducible.

#include <cstdint>

namespace vocalore::Random {

void Randomize();         // seed from the clock
void Seed(uint64_t seed); // reproducible sequence
int32_t Index(int32_t n); // uniform in 0 .. n-1; n must be >= 1

} // namespace vocalore::Random
