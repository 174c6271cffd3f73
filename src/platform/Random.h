#pragma once

#include <cstdint>

namespace lq {

// The process's random source, in the manner of the system's random():
// values from 0 to 2147483647. It is seeded once from the system's entropy
// source, at start-up (seedRandomFromEntropy) or at its first use.
void seedRandomFromEntropy();
std::int32_t random31();

} // namespace lq
