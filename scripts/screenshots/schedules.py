#!/usr/bin/env python3
"""Writes the fixed schedules of the README's pictures as a data file (the clock's
own format: a 60-byte record and its code page 932 content, back to back). The
pictures are taken on Tuesday 8 December 2026, the month's second Tuesday.

    schedules.py Schedules.dat
"""
import struct
import sys

SPECIFIC_DATE, WEEKDAY, MONTHLY, YEARLY = range(4)
RECORD_SIZE, MAGIC = 60, 0xE5963CD4

# type, (year, month, weekday, day, hour, minute), week of the month, content
SCHEDULES = [
    (WEEKDAY, (0, 0, 2, 0, 10, 0), 0, "チームの朝会（毎週火曜日）"),
    (WEEKDAY, (0, 0, 2, 0, 14, 0), 2, "月例報告会"),
    (MONTHLY, (0, 0, 0, 8, 12, 15), 0, "昼休みに銀行へ"),
    (SPECIFIC_DATE, (2026, 12, 2, 8, 17, 30), 0, "歯医者の予約（保険証を忘れずに）"),
    (MONTHLY, (0, 0, 0, 31, 18, 0), 0, "月末の締め処理"),
    (SPECIFIC_DATE, (2026, 12, 4, 24, 18, 0), 0, "忘年会（駅前の店）"),
    (YEARLY, (0, 12, 0, 25, 8, 0), 0, "クリスマスのプレゼント"),
]


def record(kind, when, week, content):
    text = content.encode("cp932")
    header = struct.pack("<5I8H8H2I", RECORD_SIZE, MAGIC, 0, len(text), kind, *([0] * 8), *when, 0, 0, week, 0)
    return header + text


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    with open(sys.argv[1], "wb") as f:
        f.write(b"".join(record(*schedule) for schedule in SCHEDULES))
