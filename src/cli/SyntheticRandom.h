#pragma once
// The random numbers of the synthetic traffic generator. Built only on the raw MT19937 output,
// which the language fixes, so that one seed gives the same traffic file with any compiler.
// Kept apart from the simulation's generator so that generating never disturbs a run.

#include <cstdint>
#include <random>

class SyntheticRandom
{
public:
    explicit SyntheticRandom(std::uint32_t seed) : engine(seed) {}

    // Uniform in the open interval (0, 1).
    double uniform();
    double uniform(double low, double high);
    // Uniform over the integers low to high, both included.
    int uniformInt(int low, int high);
    double normal(double mean, double standardDeviation);
    double exponential(double mean);
    // Normal, redrawn until it falls inside [low, high] (clamped after a few tries).
    double boundedNormal(double mean, double standardDeviation, double low, double high);

private:
    std::mt19937 engine;
};
