#!/usr/bin/python3
"""Compares a traffic file drawn from a model with the recorded file the model was fitted to:
chi-square tests of the hourly flows per lane and of the class shares, two-sample
Kolmogorov-Smirnov tests of gross weights per class and axle count, axle spacings, speeds per
class and lane, and time gaps between successive trucks per lane, each at the 1 % level. Prints
one line per test; exits 1 when any test rejects.
    traffic_model_stats.py RECORDED GENERATED DAYS"""
import sys
from collections import defaultdict

import numpy as np
from scipy import stats

LEVEL = 0.01
SMALLEST_SAMPLE = 1000
DAYS_PER_MONTH, MONTHS_PER_YEAR = 25, 10


def col(line, first, width):
    text = line[first:first + width].strip()
    return int(text) if text else 0


def read(path, days):
    """TALVOR records of the first `days` days: time (s), lane, class, axles, gvw (100 kg), speed, spacings."""
    vehicles = []
    with open(path) as f:
        for line in f:
            line = line.rstrip("\r\n")
            day = (col(line, 8, 2) * MONTHS_PER_YEAR + col(line, 6, 2) - 1) * DAYS_PER_MONTH + col(line, 4, 2) - 1
            t = day * 86400 + col(line, 10, 2) * 3600 + col(line, 12, 2) * 60 + col(line, 14, 2) + col(line, 16, 2) / 100
            if day >= days:
                continue
            axles = col(line, 28, 1)
            gvw = col(line, 21, 4)
            spacings = [col(line, 37 + 5 * i, 2) / 10 for i in range(axles - 1)]
            vehicles.append((t, col(line, 30, 1), classify(gvw, axles, spacings), axles, gvw, col(line, 18, 3) / 10,
                             spacings))
    return vehicles


def classify(gvw, axles, spacings):
    """The program's classification with the default limits."""
    if 35 * 0.981 > gvw * 0.981 and axles == 2:
        return 0
    kind = 2 if axles > 3 else 1
    full = spacings + [0.0]
    peak = 0.0
    for i in range(1, len(full)):
        if full[i - 1] < full[i]:
            peak = full[i]
    mean = sum(full) / axles if axles else 0
    if peak < 4 and axles > 2 and mean < 2.5:
        kind = 3
    if peak >= 7.5 and axles > 2:
        kind = 4
    return kind


failures = 0


def report(name, statistic, p, sizes):
    global failures
    verdict = "ok" if p >= LEVEL else "REJECTED"
    failures += p < LEVEL
    print(f"{verdict:8} {name:48} statistic {statistic:10.4f}  p {p:.4f}  n {sizes}")


def chi_square(name, recorded_counts, generated_counts):
    table = np.array([recorded_counts, generated_counts], dtype=float)
    table = table[:, table.sum(axis=0) > 0]
    # Cells too thin for the test's approximation are pooled into their neighbours.
    expected = table.sum(axis=0) * table.sum(axis=1)[:, None] / table.sum()
    merged, current = [], np.zeros(2)
    for i in range(table.shape[1]):
        current = current + table[:, i]
        if (current.sum() * table.sum(axis=1) / table.sum()).min() >= 5:
            merged.append(current)
            current = np.zeros(2)
    if current.sum() > 0 and merged:
        merged[-1] = merged[-1] + current
    table = np.array(merged).T
    statistic, p, dof, _ = stats.chi2_contingency(table, correction=False)
    report(name + f" ({dof} dof)", statistic, p, [int(x) for x in table.sum(axis=1)])


def ks(name, recorded, generated):
    if min(len(recorded), len(generated)) < SMALLEST_SAMPLE:
        return
    result = stats.ks_2samp(recorded, generated)
    report(name, result.statistic, result.pvalue, [len(recorded), len(generated)])


def truck_gaps(vehicles):
    last, gaps = {}, defaultdict(list)
    for t, lane, cls, *_ in vehicles:
        if cls == 0:
            continue
        if lane in last:
            gaps[lane].append(t - last[lane])
        last[lane] = t
    return gaps


def main():
    days = int(sys.argv[3])
    recorded, generated = read(sys.argv[1], days), read(sys.argv[2], days)
    trucks = sum(1 for v in generated if v[2] != 0), sum(1 for v in recorded if v[2] != 0)
    print(f"trucks: recorded {trucks[1]}, generated {trucks[0]}")
    lanes = sorted({v[1] for v in recorded})
    for lane in lanes:
        cells = [[0] * 48, [0] * 48]
        classes = [[0] * 5, [0] * 5]
        for which, vehicles in enumerate((recorded, generated)):
            for t, vlane, cls, *_ in vehicles:
                if vlane == lane:
                    day, hour = int(t // 86400), int(t % 86400 // 3600)
                    cells[which][(24 if day % 7 >= 5 else 0) + hour] += 1
                    classes[which][cls] += 1
        chi_square(f"lane {lane}: flow by day type and hour", *cells)
        chi_square(f"lane {lane}: class shares", *classes)
    groups = sorted({(v[2], v[3]) for v in recorded if v[2] != 0})
    for cls, axles in groups:
        pick = lambda vs: [v for v in vs if v[2] == cls and v[3] == axles]
        r, g = pick(recorded), pick(generated)
        ks(f"class {cls}, {axles} axles: gross weight", [v[4] for v in r], [v[4] for v in g])
        for i in range(axles - 1):
            ks(f"class {cls}, {axles} axles: spacing {i + 1}", [v[6][i] for v in r], [v[6][i] for v in g])
    for lane in lanes:
        for cls in range(5):
            pick = lambda vs: [v[5] for v in vs if v[1] == lane and v[2] == cls]
            ks(f"lane {lane}, class {cls}: speed", pick(recorded), pick(generated))
    recorded_gaps, generated_gaps = truck_gaps(recorded), truck_gaps(generated)
    for lane in lanes:
        ks(f"lane {lane}: gaps between trucks", recorded_gaps[lane], generated_gaps[lane])
    print(f"{failures} of the tests rejected at {LEVEL:.0%}")
    return 1 if failures else 0


sys.exit(main())
