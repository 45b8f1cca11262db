#pragma once
// One block-maxima interval of a bridge's load effect: a row of LE_<name>.csv.

struct IntervalRow
{
    long long number = 0;  // from 1
    double endTime = 0.0;  // s; the run's last step for an interval the run did not complete
    double maximum = 0.0;
    double maximumTime = 0.0;  // s, the first step with the maximum
    double minimum = 0.0;
    double minimumTime = 0.0;  // s
    long long vehicles = 0;    // on the bridge at some step of the interval
    double duration = 0.0;     // s simulated of the interval: shorter than it for the last one only

    bool operator==(const IntervalRow&) const = default;
};
