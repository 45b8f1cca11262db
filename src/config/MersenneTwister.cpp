#include "config/MersenneTwister.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>

MersenneTwister theRandomGenerator = [] {
    MersenneTwister generator;
    generator.seedFromSystem();
    return generator;
}();

namespace {
constexpr std::size_t shift = 397;
constexpr std::uint32_t matrixA = 0x9908B0DFu;
constexpr std::uint32_t upperMask = 0x80000000u;
constexpr std::uint32_t lowerMask = 0x7FFFFFFFu;

// Byte-wise hash of a value's memory image: h = h * 257 + byte.
template <class T>
std::uint32_t hashBytes(const T& value)
{
    unsigned char image[sizeof(T)];
    std::memcpy(image, &value, sizeof(T));
    std::uint32_t hash = 0;
    for (unsigned char byte : image)
        hash = hash * 257u + byte;
    return hash;
}
}

MersenneTwister::MersenneTwister()
{
    seed(5489u);
}

void MersenneTwister::seed(std::uint32_t value)
{
    state[0] = value;
    for (std::size_t i = 1; i < stateSize; ++i)
        state[i] = 1812433253u * (state[i - 1] ^ (state[i - 1] >> 30)) + static_cast<std::uint32_t>(i);
    index = stateSize;
    hasCachedNormal = false;
    cachedNormal = 0.0;
}

void MersenneTwister::seedByArray(const std::uint32_t* key, std::size_t keyLength)
{
    // The reference routine would read past an empty key; take it as one zero word.
    static constexpr std::uint32_t zeroKey = 0;
    if (keyLength == 0)
    {
        key = &zeroKey;
        keyLength = 1;
    }
    seed(19650218u);
    std::size_t i = 1;
    std::size_t j = 0;
    for (std::size_t k = stateSize > keyLength ? stateSize : keyLength; k > 0; --k)
    {
        state[i] =
            (state[i] ^ ((state[i - 1] ^ (state[i - 1] >> 30)) * 1664525u)) + key[j] + static_cast<std::uint32_t>(j);
        ++i;
        ++j;
        if (i >= stateSize)
        {
            state[0] = state[stateSize - 1];
            i = 1;
        }
        if (j >= keyLength)
            j = 0;
    }
    for (std::size_t k = stateSize - 1; k > 0; --k)
    {
        state[i] = (state[i] ^ ((state[i - 1] ^ (state[i - 1] >> 30)) * 1566083941u)) - static_cast<std::uint32_t>(i);
        ++i;
        if (i >= stateSize)
        {
            state[0] = state[stateSize - 1];
            i = 1;
        }
    }
    // Non-zero initial state guaranteed.
    state[0] = 0x80000000u;
    index = stateSize;
}

void MersenneTwister::seedFromSystem()
{
    std::uint32_t key[stateSize];
    std::size_t wordsRead = 0;
    if (std::FILE* urandom = std::fopen("/dev/urandom", "rb"))
    {
        while (wordsRead < stateSize && std::fread(&key[wordsRead], sizeof key[0], 1, urandom) == 1)
            ++wordsRead;
        std::fclose(urandom);
    }
    if (wordsRead == stateSize)
    {
        seedByArray(key, stateSize);
        return;
    }
    // Successive fallbacks within one second still differ.
    static std::uint32_t fallbackCount = 0;
    const std::uint32_t timeHash = hashBytes(std::time(nullptr));
    const std::uint32_t clockHash = hashBytes(std::clock());
    seed((timeHash + fallbackCount++) ^ clockHash);
}

void MersenneTwister::twist()
{
    auto mix = [](std::uint32_t upper, std::uint32_t lower) {
        const std::uint32_t y = (upper & upperMask) | (lower & lowerMask);
        return (y >> 1) ^ ((y & 1u) ? matrixA : 0u);
    };
    std::size_t k = 0;
    for (; k < stateSize - shift; ++k)
        state[k] = state[k + shift] ^ mix(state[k], state[k + 1]);
    for (; k < stateSize - 1; ++k)
        state[k] = state[k + shift - stateSize] ^ mix(state[k], state[k + 1]);
    state[stateSize - 1] = state[shift - 1] ^ mix(state[stateSize - 1], state[0]);
    index = 0;
}

double MersenneTwister::standardNormal()
{
    if (hasCachedNormal)
    {
        hasCachedNormal = false;
        return cachedNormal;
    }
    double x = 0.0;
    double y = 0.0;
    double r = 0.0;
    do
    {
        x = 2.0 * uniform() - 1.0;
        y = 2.0 * uniform() - 1.0;
        r = x * x + y * y;
    } while (r >= 1.0);
    const double f = std::sqrt(-2.0 * std::log(r) / r);
    cachedNormal = y * f;
    hasCachedNormal = true;
    return x * f;
}
