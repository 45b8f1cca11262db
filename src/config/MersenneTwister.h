#pragma once
// The program's pseudo-random generator: the 32-bit MT19937 Mersenne Twister with its standard
// seeding routines, uniforms on [0, 1], and the polar-method standard normal with its one-value
// cache. Reseeding clears the cache, so a seeded run repeats exactly.

#include <cstddef>
#include <cstdint>

class MersenneTwister
{
public:
    static constexpr std::size_t stateSize = 624;

    // Seeded with the reference default seed 5489.
    MersenneTwister();

    // The reference single-word initialisation.
    void seed(std::uint32_t value);
    // The reference array initialisation (init_by_array).
    void seedByArray(const std::uint32_t* key, std::size_t keyLength);
    // 624 words of /dev/urandom when all can be read, else a hash of the calendar time and the
    // processor clock.
    void seedFromSystem();

    std::uint32_t next()
    {
        if (index >= stateSize)
            twist();
        std::uint32_t y = state[index++];
        y ^= y >> 11;
        y ^= (y << 7) & 0x9D2C5680u;
        y ^= (y << 15) & 0xEFC60000u;
        y ^= y >> 18;
        return y;
    }
    // next() / 4294967295: both 0 and 1 can occur.
    double uniform() { return next() / 4294967295.0; }
    // A standard normal number by the polar method; every second call returns the cached partner.
    double standardNormal();

private:
    void twist();

    std::uint32_t state[stateSize];
    std::size_t index = stateSize;
    bool hasCachedNormal = false;
    double cachedNormal = 0.0;
};

// The one generator of the program, seeded from the system before start-up.
extern MersenneTwister theRandomGenerator;
