#pragma once
// The generator behind the formula function RND. Every parser owns one, so
// what a formula draws depends only on that parser's seed and its own draws
// before, never on other parsers, other threads or the order in which a
// thread's work was handed out. While a parser evaluates, its source is the
// thread's current one (ScopedRandomSource); RND outside any parser draws
// from a per-thread source with the default seed.

#include <cstdint>
#include <random>

namespace movra {

class RandomSource {
public:
    static constexpr std::uint64_t kDefaultSeed = 0x4D4F565241ull;

    explicit RandomSource(std::uint64_t seed = kDefaultSeed) : engine_(seed) {}
    void Seed(std::uint64_t seed) { engine_.seed(seed); }
    // Uniform in [0, 1), 53 random bits.
    double NextUniform() noexcept { return static_cast<double>(engine_() >> 11) * 0x1p-53; }

private:
    std::mt19937_64 engine_;
};

// A well-spread seed from a fixed seed and a small number such as a well
// index (splitmix64), so that neighbouring numbers give unrelated streams.
constexpr std::uint64_t DerivedSeed(std::uint64_t seed, std::uint64_t number) noexcept
{
    std::uint64_t z = seed + (number + 1) * 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// Makes source the thread's current one while it lives.
class ScopedRandomSource {
public:
    explicit ScopedRandomSource(RandomSource& source) noexcept;
    ~ScopedRandomSource();
    ScopedRandomSource(const ScopedRandomSource&) = delete;
    ScopedRandomSource& operator=(const ScopedRandomSource&) = delete;

private:
    RandomSource* previous_;
};

} // namespace movra
