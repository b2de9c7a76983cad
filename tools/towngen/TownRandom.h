#pragma once

#include <cstdint>
#include <cstddef>
#include <vector>

// SplitMix64: tiny, fast, and the same sequence on every compiler and standard
// library, so one seed always gives the same town byte for byte.
class TownRandom {
public:
    explicit TownRandom(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Uniform in [0, 1).
    double uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    float rangef(double lo, double hi) { return static_cast<float>(range(lo, hi)); }
    // Uniform integer in [lo, hi].
    int between(int lo, int hi)
    {
        if (hi <= lo)
            return lo;
        return lo + static_cast<int>(next() % static_cast<std::uint64_t>(hi - lo + 1));
    }
    std::size_t index(std::size_t count) { return count ? static_cast<std::size_t>(next() % count) : 0; }
    bool chance(double p) { return uniform() < p; }

    template <class T>
    const T& pick(const std::vector<T>& items) { return items[index(items.size())]; }

    // Index drawn with the given weights (all >= 0, at least one > 0).
    std::size_t weighted(const std::vector<double>& weights)
    {
        double total = 0;
        for (double w : weights)
            total += w;
        double r = uniform() * total;
        for (std::size_t i = 0; i < weights.size(); ++i) {
            if (r < weights[i])
                return i;
            r -= weights[i];
        }
        return weights.empty() ? 0 : weights.size() - 1;
    }

    // An independent stream, so that one part of the town can change without
    // shifting every random draw of the parts after it.
    TownRandom fork(std::uint64_t salt) const
    {
        TownRandom r(m_state ^ (salt * 0xD1B54A32D192ED03ull));
        r.next();
        return r;
    }

private:
    std::uint64_t m_state;
};
