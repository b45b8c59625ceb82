#!/usr/bin/env python3
"""Writes FILES small numbered-code update files (DOS-866, CRLF) into a
folder, each with the group header and RECORDS records of the 12 fields of
make_coded_file.py, named u00001.txt and on."""
import argparse
import os
import random

from make_coded_file import FIELDS, WORDS


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("folder")
    parser.add_argument("--files", type=int, default=10_000)
    parser.add_argument("--records", type=int, default=40)
    args = parser.parse_args()

    rng = random.Random(20261211)
    os.makedirs(args.folder, exist_ok=True)
    for number in range(1, args.files + 1):
        lines = ["&АМТ"]
        for _ in range(args.records):
            values = [rng.choice(WORDS) for _ in range(FIELDS)]
            lines.append("".join(f"/{i:02d}={v}" for i, v in enumerate(values, 1)))
        with open(os.path.join(args.folder, f"u{number:05d}.txt"), "w", encoding="cp866",
                  newline="") as update:
            update.write("\r\n".join(lines) + "\r\n")


if __name__ == "__main__":
    main()
