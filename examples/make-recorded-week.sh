#!/usr/bin/env bash
# Writes a recorded-like week of traffic (TALVOR) from stated distributions, for fit-traffic:
# days 0 to 6 of the files' default calendar (25-day months), day 0 a Monday, 2 + 2 lanes
# (direction 1: lanes 1 and 2, direction 2: lanes 3 and 4, the slow lanes 1 and 3).
#   examples/make-recorded-week.sh OUTPUT [VEHICLES_PER_WEEKDAY] [SEED]
# The committed examples/recorded-week.txt is 5,000 vehicles a weekday, seed 1; 40,000 a weekday
# is the scale of the benchmarks.
#
# The distributions:
# - Weekdays: VEHICLES_PER_WEEKDAY vehicles, 15 % of them trucks. Weekends: cars 70 % and trucks
#   25 % of a weekday's. Cars follow a two-peak day (07-09 and 16-18), trucks a broad day from
#   05 to 20 with few at night (the profiles below, relative weights per hour).
# - Direction 1 carries 52 %, direction 2 48 %. Slow lanes take 85 % of the trucks and 45 % of
#   the cars. Arrivals in each lane are a Poisson process at the hour's rate, except that 15 % of
#   the trucks bring a second one 1.5 to 4 s behind them in their lane (a platoon of two).
# - Trucks: 2-axle rigid 30 %, 3-axle rigid 12 %, 4-axle articulated 10 %, 5-axle articulated
#   40 %, crane 4 %, low-loader 4 %. Articulated trucks are empty (35 %, gross weight normal,
#   mean 15 t, deviation 1.5 t) or loaded (65 %, mean 36 t, deviation 4.5 t): bimodal; rigid
#   ones normal (2-axle 11 t ± 3 t, 3-axle 20 t ± 4 t), cranes 40 t ± 5 t, low-loaders 55 t
#   ± 10 t, none below 4 t. Cars 1 to 2.2 t, uniform.
# - Axle spacings uniform within the layouts' ranges below; weight on each axle the layout's
#   share times a factor uniform in 0.9 to 1.1, the axles adding up to the gross weight.
# - Speeds normal: cars 30 m/s ± 3 in slow lanes, 35 m/s ± 3 in fast lanes; trucks 24 m/s ± 1.5,
#   cranes and low-loaders 20 m/s ± 1.5.
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: $0 OUTPUT [VEHICLES_PER_WEEKDAY] [SEED]" >&2; exit 2; }
exec python3 - "$@" <<'PY'
import math, random, sys

out_path = sys.argv[1]
per_weekday = int(sys.argv[2]) if len(sys.argv) > 2 else 5000
rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 1)

car_day = [1, 0.6, 0.4, 0.4, 0.8, 2, 5, 9, 8, 6, 5, 5, 5.5, 5.5, 6, 7, 8.5, 9, 7, 5, 4, 3, 2.2, 1.5]
truck_day = [1, 0.8, 0.8, 0.9, 1.5, 3, 5, 6, 6.5, 7, 7, 7, 6.5, 6.5, 6.5, 6.5, 6, 5.5, 4.5, 3.5, 2.5, 2, 1.5, 1.2]
lanes = [(1, 1, 0.52, True), (1, 2, 0.52, False), (2, 3, 0.48, True), (2, 4, 0.48, False)]

# share of trucks, axle spacings (ranges, 0.1 m), load shares, weight (t) drawer, length (0.1 m), speed (m/s)
def articulated():
    return rng.gauss(15, 1.5) if rng.random() < 0.35 else rng.gauss(36, 4.5)
trucks = [
    (0.30, [(35, 55)], [0.4, 0.6], lambda: rng.gauss(11, 3), (65, 100), 24),
    (0.12, [(65, 70), (13, 13)], [0.3, 0.35, 0.35], lambda: rng.gauss(20, 4), (95, 110), 24),
    (0.10, [(32, 38), (13, 13), (50, 65)], [0.2, 0.27, 0.27, 0.26], articulated, (100, 120), 24),
    (0.40, [(32, 38), (13, 13), (55, 70), (13, 13)], [0.16, 0.22, 0.22, 0.2, 0.2], articulated, (150, 168), 24),
    (0.04, [(14, 20), (14, 20), (14, 20)], [0.25, 0.25, 0.25, 0.25], lambda: rng.gauss(40, 5), (110, 150), 20),
    (0.04, [(32, 38), (13, 13), (80, 95), (13, 13), (13, 13)], [1 / 6] * 6, lambda: rng.gauss(55, 10), (180, 230), 20),
]

def record(day, t, direction, lane, speed, gvw_units, length_dm, weights, spacings):
    s = int(t * 100)
    hund, s = s % 100, s // 100
    head = "%4d%2d%2d%2d%2d%2d%2d%2d" % (1001, day % 25 + 1, day // 25 % 10 + 1, day // 250,
                                         s // 3600, s // 60 % 60, s % 60, hund)
    text = head + "%3d%4d%3d%1d%1d%1d%3d" % (round(speed * 10), gvw_units, length_dm, len(weights), direction, lane, 0)
    for i in range(9):
        text += "%3d" % (weights[i] if i < len(weights) else 0)
        if i < 8:
            text += "%2d" % (spacings[i] if i < len(spacings) else 0)
    return text

def split(total, shares):
    raw = [s * rng.uniform(0.9, 1.1) for s in shares]
    exact = [total * r / sum(raw) for r in raw]
    units = [int(x) for x in exact]
    for i in sorted(range(len(exact)), key=lambda i: exact[i] - units[i], reverse=True)[: total - sum(units)]:
        units[i] += 1
    return units

def vehicle(slow, is_truck):
    if not is_truck:
        gvw = rng.randint(10, 22)
        return rng.gauss(30 if slow else 35, 3), gvw, rng.randint(38, 50), split(gvw, [0.55, 0.45]), [rng.randint(24, 29)]
    pick = rng.random()
    for share, ranges, shares, weight, length, speed_mean in trucks:
        pick -= share
        if pick < 0:
            break
    gvw = max(40, round(weight() * 10))
    speed = rng.gauss(speed_mean, 1.5)
    return speed, gvw, rng.randint(*length), split(gvw, shares), [rng.randint(a, b) for a, b in ranges]

PLATOONS = 0.15
lines = []
for day in range(7):
    weekend = day % 7 >= 5
    cars_today = per_weekday * 0.85 * (0.70 if weekend else 1.0)
    trucks_today = per_weekday * 0.15 * (0.25 if weekend else 1.0)
    for hour in range(24):
        for direction, lane, direction_share, slow in lanes:
            for is_truck, today, profile, lane_share in ((False, cars_today, car_day, 0.45), (True, trucks_today, truck_day, 0.85)):
                mean = today / (1 + PLATOONS if is_truck else 1) * direction_share * (lane_share if slow else 1 - lane_share) * profile[hour] / sum(profile)
                # Poisson by inversion of exponential gaps within the hour.
                count, total = 0, rng.expovariate(1.0)
                while total < mean:
                    count += 1
                    total += rng.expovariate(1.0)
                for _ in range(count):
                    t = hour * 3600 + rng.random() * 3600
                    platoon = 2 if is_truck and rng.random() < PLATOONS else 1
                    for _ in range(platoon):
                        if t >= 86400:
                            break
                        speed, gvw, length, weights, spacings = vehicle(slow, is_truck)
                        lines.append((day * 86400 + t, lane, record(day, t, direction, lane, speed, gvw, length, weights, spacings)))
                        t += rng.uniform(1.5, 4.0)
lines.sort()
with open(out_path, "w") as f:
    for _, _, text in lines:
        f.write(text + "\n")
PY
