#pragma once

#include <cstdint>
#include <initializer_list>

// A small set of enumeration values (at most 32), for the engine's option and
// state flags.
template <class E>
class TGxFlagSet {
public:
    constexpr TGxFlagSet() = default;
    constexpr TGxFlagSet(std::initializer_list<E> flags)
    {
        for (E f : flags)
            m_bits |= bit(f);
    }

    constexpr bool Contains(E f) const { return (m_bits & bit(f)) != 0; }
    constexpr void Include(E f) { m_bits |= bit(f); }
    constexpr void Exclude(E f) { m_bits &= ~bit(f); }
    constexpr bool Empty() const { return m_bits == 0; }
    constexpr std::uint32_t Bits() const { return m_bits; }
    friend constexpr bool operator==(TGxFlagSet, TGxFlagSet) = default;

private:
    static constexpr std::uint32_t bit(E f) { return std::uint32_t(1) << static_cast<unsigned>(f); }
    std::uint32_t m_bits = 0;
};
