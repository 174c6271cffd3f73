#include "platform/Random.h"

#include <random>

namespace lq {

namespace {
// One generator per thread: threads that make pages draw without a lock.
std::mt19937_64& generator()
{
    thread_local std::mt19937_64 engine = [] {
        std::random_device entropy;
        std::seed_seq seed { entropy(), entropy(), entropy(), entropy() };
        return std::mt19937_64(seed);
    }();
    return engine;
}
} // namespace

void seedRandomFromEntropy()
{
    (void)generator();
}

std::int32_t random31()
{
    return static_cast<std::int32_t>(generator()() >> 33);
}

} // namespace lq
