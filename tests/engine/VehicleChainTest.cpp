// The lane's chain of vehicles against a plain list given the same insertions and removals: the
// order read front to back and back to front, the ends, the count and the links of a vehicle
// taken out.

#include "engine/VehicleChain.h"
#include "vehicles/Vehicle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <list>
#include <random>
#include <vector>

namespace {

void expectSameOrder(const VehicleChain& chain, const std::list<Vehicle*>& model)
{
    std::vector<Vehicle*> forward;
    for (Vehicle& v : chain)
        forward.push_back(&v);
    EXPECT_EQ(forward, std::vector<Vehicle*>(model.begin(), model.end()));

    std::vector<Vehicle*> backward;
    for (Vehicle* v = chain.back(); v; v = v->ahead)
        backward.push_back(v);
    EXPECT_EQ(backward, std::vector<Vehicle*>(model.rbegin(), model.rend()));

    EXPECT_EQ(chain.size(), model.size());
    EXPECT_EQ(chain.empty(), model.empty());
    EXPECT_EQ(chain.front(), model.empty() ? nullptr : model.front());
    EXPECT_EQ(chain.back(), model.empty() ? nullptr : model.back());
}

}  // namespace

TEST(VehicleChain, InsertionsAndRemovalsAnywhereKeepTheOrderOfAList)
{
    std::array<Vehicle, 12> vehicles;
    VehicleChain chain;
    std::list<Vehicle*> model;
    std::vector<Vehicle*> outside;
    for (Vehicle& v : vehicles)
        outside.push_back(&v);

    std::mt19937 random(11);
    for (int round = 0; round < 2000; ++round)
    {
        const bool insert = !outside.empty() && (model.empty() || random() % 2 == 0);
        if (insert)
        {
            // In front of any vehicle of the chain, or at the back.
            const auto slot = static_cast<std::size_t>(random() % outside.size());
            Vehicle* v = outside[slot];
            outside.erase(outside.begin() + static_cast<std::ptrdiff_t>(slot));
            auto before = model.begin();
            std::advance(before, static_cast<std::ptrdiff_t>(random() % (model.size() + 1)));
            chain.insertBefore(before == model.end() ? nullptr : *before, v);
            model.insert(before, v);
        }
        else
        {
            auto which = model.begin();
            std::advance(which, static_cast<std::ptrdiff_t>(random() % model.size()));
            Vehicle* v = *which;
            chain.remove(v);
            model.erase(which);
            EXPECT_EQ(v->ahead, nullptr);
            EXPECT_EQ(v->behind, nullptr);
            outside.push_back(v);
        }
        expectSameOrder(chain, model);
        if (HasFailure())
            return;
    }
}

TEST(VehicleChain, AVehicleMovesBetweenChainsWithItsNeighboursRelinked)
{
    std::array<Vehicle, 5> vehicles;
    VehicleChain from;
    VehicleChain to;
    for (int i = 0; i < 3; ++i)
        from.insertBefore(nullptr, &vehicles[static_cast<std::size_t>(i)]);
    to.insertBefore(nullptr, &vehicles[3]);
    to.insertBefore(nullptr, &vehicles[4]);

    // The middle one changes lanes into the gap between the other lane's two.
    from.remove(&vehicles[1]);
    to.insertBefore(&vehicles[4], &vehicles[1]);

    expectSameOrder(from, {&vehicles[0], &vehicles[2]});
    expectSameOrder(to, {&vehicles[3], &vehicles[1], &vehicles[4]});
}
