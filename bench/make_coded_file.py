#!/usr/bin/env python3
"""Writes a numbered-code update file of N records with 12 fields (DOS-866,
CRLF) and, beside it, the same rows as CSV with a .csvt giving String(20)
for every column, for a converter to compare with."""
import argparse
import random

FIELDS = 12
WORDS = ["АБВГД", "Ромашка", "1234567", "ООО Лес", "Иванов", "0001234", "77-77", "R2D2-C3", "Мир",
         "x"]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("update_file")
    parser.add_argument("csv_file")
    parser.add_argument("--records", type=int, default=1_000_000)
    args = parser.parse_args()

    rng = random.Random(20261210)
    with open(args.update_file, "w", encoding="cp866", newline="") as update, \
            open(args.csv_file, "w", encoding="utf-8", newline="") as csv:
        update.write("&АМТ\r\n")
        csv.write(",".join(f"F{i:02d}" for i in range(1, FIELDS + 1)) + "\n")
        for _ in range(args.records):
            values = [rng.choice(WORDS) for _ in range(FIELDS)]
            update.write("".join(f"/{i:02d}={v}" for i, v in enumerate(values, 1)) + "\r\n")
            csv.write(",".join(values) + "\n")
    with open(args.csv_file[: -len(".csv")] + ".csvt", "w") as csvt:
        csvt.write(",".join(["String(20)"] * FIELDS) + "\n")


if __name__ == "__main__":
    main()
