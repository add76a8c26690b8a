#include "platform/RateDraw.h"

#include <random>
#include <utility>

namespace platform {

namespace {
std::mt19937_64& engine()
{
    static std::mt19937_64 e = [] {
        std::random_device device;
        std::seed_seq seq{device(), device(), device(), device()};
        return std::mt19937_64(seq);
    }();
    return e;
}

Draw& currentDraw()
{
    static Draw draw;
    return draw;
}
} // namespace

int drawUniform(int n)
{
    if (const Draw& draw = currentDraw())
        return draw(n);
    return std::uniform_int_distribution<int>(0, n - 1)(engine());
}

Draw setDraw(Draw draw)
{
    return std::exchange(currentDraw(), std::move(draw));
}

void seedDraw(std::uint64_t seed)
{
    engine().seed(seed);
}

} // namespace platform
