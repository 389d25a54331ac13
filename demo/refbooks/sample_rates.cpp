#include "demo/refbooks/sample_rates.h"

#include <cmath>
#include <numbers>

namespace demo {

namespace {

// A value in [-1, 1] that depends only on its two arguments.
double scatter(std::uint64_t a, std::uint64_t b) {
    std::uint64_t x = a * 0x9E3779B97F4A7C15ull + b * 0xBF58476D1CE4E5B9ull;
    x ^= x >> 31;
    x *= 0x94D049BB133111EBull;
    x ^= x >> 29;
    return static_cast<double>(x % 2000001) / 1000000.0 - 1.0;
}

// Weekly values joined by straight lines: the rate's week-to-week wandering.
double wander(std::uint16_t currency, std::int32_t day) {
    constexpr int kWeek = 7;
    const std::int32_t knot = day / kWeek;
    const double along = static_cast<double>(day % kWeek) / kWeek;
    return scatter(currency, static_cast<std::uint64_t>(knot)) * (1 - along) +
           scatter(currency, static_cast<std::uint64_t>(knot + 1)) * along;
}

}  // namespace

double sampleBankRate(const SampleCurrency& currency, std::int32_t day) {
    const double phase = currency.code * 1.7;
    const double turn = 2 * std::numbers::pi * day;
    const double drift = 0.045 * std::sin(turn / 421 + phase) +   // over more than a year
                         0.012 * std::sin(turn / 89 + 2 * phase) +  // over a season
                         0.007 * wander(currency.code, day) +
                         0.0015 * scatter(currency.code + 100u, static_cast<std::uint64_t>(day));
    return std::round(currency.level * (1 + drift) * 10000) / 10000;
}

}  // namespace demo
