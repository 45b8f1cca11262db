#pragma once
// A TALVOR file drawn from known distributions with the program's generator, in the temporary
// folder and removed when the test ends: one lane (direction 1, lane 1), 200 veh/h on weekdays
// and 100 on weekends at every hour, a quarter of them 5-axle trucks whose gross weights are
// 200 kN plus a generalized Pareto excess, speeds normal.

#include "config/MersenneTwister.h"
#include "trafficfiles/RecordFormat.h"
#include "vehicles/Truck.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

struct KnownTraffic
{
    static constexpr double weekdayFlow = 200.0;  // veh/h
    static constexpr double weekendFlow = 100.0;  // veh/h
    static constexpr double truckShare = 0.25;
    static constexpr double weightStart = 200.0;  // kN, where the Pareto excesses start
    static constexpr double weightScale = 40.0;   // kN
    static constexpr double weightShape = -0.15;
    static constexpr double truckSpeed = 25.0;  // m/s, mean; deviation 2
    static constexpr double carSpeed = 33.0;    // m/s, mean; deviation 3

    explicit KnownTraffic(int days, std::uint32_t seed = 7)
    {
        static int counter = 0;
        path = (std::filesystem::temp_directory_path() /
                ("roadflux_trafficmodel_" + std::to_string(::getpid()) + "_" + std::to_string(counter++) + ".txt"))
                   .string();
        std::ofstream out(path, std::ios::binary);
        MersenneTwister random;
        random.seed(seed);
        const auto uniform = [&random] { return (random.next() + 0.5) / 4294967296.0; };
        double t = 0.0;
        std::string record;
        for (;;)
        {
            const bool weekend = static_cast<long long>(t / 86400.0) % 7 >= 5;
            t += -std::log(uniform()) * 3600.0 / (weekend ? weekendFlow : weekdayFlow);
            if (t >= days * 86400.0)
                break;
            Truck v;
            v.head = 1001;
            v.setTime(std::floor(t * 100.0) / 100.0 + 0.001);
            v.direction = 1;
            v.lane = 1;
            if (uniform() < truckShare)
            {
                const double excess = weightScale * (std::pow(uniform(), -weightShape) - 1.0) / weightShape;
                const double gross = std::round((weightStart + excess) / 0.981);  // 100 kg
                const double spacings[] = {3.5, 1.3, 6.0, 1.3, 0.0};
                const double shares[] = {0.2, 0.2, 0.2, 0.2, 0.2};
                v.axleCount = 5;
                v.createAxles();
                for (int i = 0; i < 5; ++i)
                {
                    v.setAxleWeight(i, 0.981 * gross * shares[i]);
                    v.setAxleSpacing(i, spacings[i]);
                }
                v.gvw = 0.981 * gross;
                v.length = 16.5;
                v.velocity = truckSpeed + 2.0 * random.standardNormal();
            }
            else
            {
                v.axleCount = 2;
                v.createAxles();
                v.setAxleWeight(0, 0.981 * 8);
                v.setAxleWeight(1, 0.981 * 7);
                v.setAxleSpacing(0, 2.6);
                v.gvw = 0.981 * 15;
                v.length = 4.5;
                v.velocity = carSpeed + 3.0 * random.standardNormal();
            }
            writeTALVOR(v, record);
            out << record << '\n';
        }
    }
    ~KnownTraffic() { std::filesystem::remove(path); }
    KnownTraffic(const KnownTraffic&) = delete;
    KnownTraffic& operator=(const KnownTraffic&) = delete;

    std::string path;
};
