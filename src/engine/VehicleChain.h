#pragma once
// The vehicles of one lane in driving order (the front-most first), linked through the
// vehicles' own `ahead` and `behind` pointers. A vehicle joins, leaves or changes lanes in
// constant time without a node of its own, and a walk along the lane reads nothing but the
// vehicles it visits. The chain links its vehicles but does not own them.

#include "vehicles/Vehicle.h"

#include <cstddef>
#include <iterator>

class VehicleChain
{
public:
    class Iterator
    {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = Vehicle;
        using difference_type = std::ptrdiff_t;
        using pointer = Vehicle*;
        using reference = Vehicle&;

        Iterator() = default;
        explicit Iterator(Vehicle* at) : v(at) {}
        Vehicle& operator*() const { return *v; }
        Vehicle* operator->() const { return v; }
        Iterator& operator++()
        {
            v = v->behind;
            return *this;
        }
        Iterator operator++(int)
        {
            Iterator was = *this;
            v = v->behind;
            return was;
        }
        bool operator==(const Iterator&) const = default;

    private:
        Vehicle* v = nullptr;
    };

    VehicleChain() = default;
    // The vehicles point at each other, not at the chain; a copy would share them.
    VehicleChain(const VehicleChain&) = delete;
    VehicleChain& operator=(const VehicleChain&) = delete;

    Iterator begin() const { return Iterator(first); }
    Iterator end() const { return Iterator(); }
    Vehicle* front() const { return first; }
    Vehicle* back() const { return last; }
    bool empty() const { return first == nullptr; }
    std::size_t size() const { return count; }

    // Links v, in no chain, in front of `follower`, one of this chain's vehicles; at the back
    // when follower is null.
    void insertBefore(Vehicle* follower, Vehicle* v)
    {
        Vehicle* leader = follower ? follower->ahead : last;
        v->ahead = leader;
        v->behind = follower;
        (leader ? leader->behind : first) = v;
        (follower ? follower->ahead : last) = v;
        ++count;
    }

    // Unlinks v, one of this chain's vehicles.
    void remove(Vehicle* v)
    {
        (v->ahead ? v->ahead->behind : first) = v->behind;
        (v->behind ? v->behind->ahead : last) = v->ahead;
        v->ahead = nullptr;
        v->behind = nullptr;
        --count;
    }

private:
    Vehicle* first = nullptr;
    Vehicle* last = nullptr;
    std::size_t count = 0;
};
