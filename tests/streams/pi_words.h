// The 32-bit words of the fractional part of pi, computed independently of the cipher's tables
// (Machin's formula, pi = 16 atan(1/5) - 4 atan(1/239), in fixed point with guard words).
#pragma once

#include <cstdint>
#include <vector>

namespace pi_words {

// Fixed-point number: word 0 is the integer part, words 1.. the fraction, most significant first.
using Fixed = std::vector<std::uint32_t>;

inline void divide(Fixed& x, std::uint32_t divisor) {
    std::uint64_t rem = 0;
    for (auto& w : x) {
        const std::uint64_t cur = (rem << 32) | w;
        w = static_cast<std::uint32_t>(cur / divisor);
        rem = cur % divisor;
    }
}

inline bool isZero(const Fixed& x) {
    for (auto w : x)
        if (w)
            return false;
    return true;
}

inline void add(Fixed& x, const Fixed& y) {
    std::uint64_t carry = 0;
    for (std::size_t i = x.size(); i-- > 0;) {
        const std::uint64_t s = std::uint64_t(x[i]) + y[i] + carry;
        x[i] = static_cast<std::uint32_t>(s);
        carry = s >> 32;
    }
}

inline void subtract(Fixed& x, const Fixed& y) {
    std::int64_t borrow = 0;
    for (std::size_t i = x.size(); i-- > 0;) {
        std::int64_t d = std::int64_t(x[i]) - y[i] - borrow;
        borrow = d < 0;
        if (d < 0)
            d += std::int64_t(1) << 32;
        x[i] = static_cast<std::uint32_t>(d);
    }
}

// factor * atan(1/x) by its alternating series.
inline Fixed arctanInverse(std::uint32_t x, std::uint32_t factor, std::size_t words) {
    Fixed sum(words, 0), power(words, 0), term(words, 0);
    power[0] = factor;
    divide(power, x); // factor / x
    const std::uint32_t x2 = x * x;
    for (std::uint32_t k = 0; !isZero(power); ++k) {
        term = power;
        divide(term, 2 * k + 1);
        if (k % 2 == 0)
            add(sum, term);
        else
            subtract(sum, term);
        divide(power, x2);
    }
    return sum;
}

// The first count words of the fractional part of pi (word 0 is 0x243F6A88).
inline std::vector<std::uint32_t> fraction(std::size_t count) {
    const std::size_t words = count + 1 + 4; // integer part, fraction and guard words
    Fixed pi = arctanInverse(5, 16, words);
    subtract(pi, arctanInverse(239, 4, words));
    return std::vector<std::uint32_t>(pi.begin() + 1, pi.begin() + 1 + count);
}

} // namespace pi_words
