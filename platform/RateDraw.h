#pragma once
#include <cstdint>
#include <functional>

namespace platform {

// A number drawn uniformly from 0..n-1 (n > 0). The generator is seeded once
// per process from the system's entropy source; reseeding from the clock at
// every press would repeat draws within a second.
int drawUniform(int n);

// Tests script the draws; an empty function restores the generator.
// Returns the previous function.
using Draw = std::function<int(int)>;
Draw setDraw(Draw draw);

// Restarts the generator from a fixed seed, for statistical tests.
void seedDraw(std::uint64_t seed);

} // namespace platform
