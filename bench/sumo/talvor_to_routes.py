#!/usr/bin/env python3
"""Converts a TALVOR traffic file into a SUMO route file of the same traffic.

Each record becomes one vehicle with the record's departure time (relative to the first
record), direction (edge d1 or d2), lane (counted from the kerb, as SUMO's lane 0 is), speed
and length. The drivers get SUMO's IDM with Roadflux's default driver parameters: T 1.2 s,
a 1.0 m/s2, b 2.0 m/s2, s0 1.0 m, delta 4, and a desired speed of N(80, 3) km/h (SUMO's IDM
has no elastic jam distance s1).

usage: talvor_to_routes.py TRAFFIC_FILE LANES_DIR1 LANES_DIR2 > routes.rou.xml
"""
import sys

MONTHS_PER_YEAR = 10  # the traffic files' calendar (Roadflux.ini defaults)
DAYS_PER_MONTH = 25


def column(line, first, last):
    """A fixed column read the way atoi reads it: blanks, sign, digits; nothing gives 0."""
    text = line[first:last + 1].strip()
    digits = ""
    for i, ch in enumerate(text):
        if ch.isdigit() or (i == 0 and ch in "+-"):
            digits += ch
        else:
            break
    try:
        return int(digits)
    except ValueError:
        return 0


def seconds(line):
    day, month, year = column(line, 4, 5), column(line, 6, 7), column(line, 8, 9)
    hour, minute, second, hundredths = (column(line, 10, 11), column(line, 12, 13),
                                        column(line, 14, 15), column(line, 16, 17))
    days = (year * MONTHS_PER_YEAR + month - 1) * DAYS_PER_MONTH + day - 1
    return days * 86400 + hour * 3600 + minute * 60 + second + hundredths / 100.0


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    name, lanes1, lanes2 = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    with open(name, encoding="ascii", errors="replace") as f:
        records = [line.rstrip("\r\n") for line in f]
    records = [r for r in records if r]

    sd = 0.4 * 0.0375  # 3 km/h at 80 km/h, truncated at 4 sd
    speed_factor = f"normc(0.4,{sd:.6f},{0.4 - 4 * sd:.6f},{0.4 + 4 * sd:.6f})"
    idm = ('carFollowModel="IDM" accel="1.0" decel="2.0" tau="1.2" minGap="1.0" delta="4" '
           'stepping="0.1" maxSpeed="40.0" vClass="passenger"')
    out = sys.stdout
    out.write('<?xml version="1.0" encoding="UTF-8"?>\n<routes>\n')
    lengths = sorted({column(r, 25, 27) for r in records})
    for tenths in lengths:
        out.write(f'    <vType id="len{tenths}" length="{tenths / 10:.1f}" {idm} speedFactor="{speed_factor}"/>\n')
    out.write('    <route id="r1" edges="d1"/>\n    <route id="r2" edges="d2"/>\n')

    start = seconds(records[0]) if records else 0.0
    for n, r in enumerate(records):
        direction, lane = column(r, 29, 29), column(r, 30, 30)
        if direction == 1:
            route, sumo_lane = "r1", lane - 1
        else:
            route, sumo_lane = "r2", lanes1 + lanes2 - lane
        depart = seconds(r) - start
        speed = column(r, 18, 20) / 10.0
        out.write(f'    <vehicle id="v{n}" type="len{column(r, 25, 27)}" route="{route}" depart="{depart:.2f}" '
                  f'departLane="{sumo_lane}" departPos="base" departSpeed="{speed:.1f}"/>\n')
    out.write("</routes>\n")


if __name__ == "__main__":
    main()
