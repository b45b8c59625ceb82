#!/usr/bin/env python3
"""Writes a Moscow-region update file (DOS-866, CRLF) of N scrambled
fixed-column records with the default descrambling constants: "R_AMT"
records of 12 columns, some with Cyrillic text, and one foreign record in a
hundred. Prints the number of R_AMT records written; with --columns, the
record layout instead."""
import argparse
import random

SHIFT = 0x0F
POSITIONS = (0x02, 0x07, 0x04, 0x0B, 0x01, 0x09, 0x06)
KEY_DIVISOR, KEY_OFFSET, KEY_BOUND = 5, 4, 3
SOURCE = (0, 2, 4, 6, 1, 3, 5, 7)  # output i of a block comes from byte SOURCE[i]

# The record layout: column 1 to 5 the identifier, then 11 more (start column, width).
COLUMNS = ((1, 5), (7, 10), (18, 7), (26, 16), (43, 10), (54, 10), (65, 3), (69, 2), (72, 2),
           (75, 8), (84, 3), (88, 8))
DATE_COLUMN = 4


def line_key(first):
    signed = first - 256 if first > 127 else first
    remainder = abs(signed) % KEY_DIVISOR * (-1 if signed < 0 else 1)  # takes the byte's sign
    key = remainder + KEY_OFFSET
    return key + KEY_OFFSET if key < KEY_BOUND else key


def win_to_dos(byte):
    """The DOS-866 byte that the DOS-to-Windows shift turns into `byte`, or 0
    when none can stand in a line (0 reads as 127, CR and LF end the line)."""
    if byte in (0, 0x0A, 0x0D) or 0x80 <= byte <= 0xAF:
        return 0
    if byte >= 0xF0:
        return byte - 0x10
    if byte >= 0xC0:
        return byte - 0x40
    return byte


def block_tables(key):
    """For each output position of a block, the scrambled DOS byte of every
    character."""
    added = (SHIFT,) + tuple(key + p for p in POSITIONS)
    return [bytes(win_to_dos((c + a) % 256) for c in range(256)) for a in added]


TABLES = {}


def scramble(record):
    """The DOS-866 bytes of a Windows-1251 record, padded with blanks to whole
    blocks, or None when a scrambled byte cannot stand in a line."""
    text = record + b" " * (-len(record) % 8)
    key = line_key((text[0] + SHIFT) % 256)
    if key not in TABLES:
        TABLES[key] = block_tables(key)
    tables = TABLES[key]
    line = bytearray(len(text))
    for i in range(8):
        line[SOURCE[i]::8] = text[i::8].translate(tables[i])
    return None if 0 in line else bytes(line)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("update_file", nargs="?")
    parser.add_argument("--records", type=int, default=1_000_000)
    parser.add_argument("--columns", action="store_true",
                        help="print the record layout, one start:width a line, and end")
    args = parser.parse_args()
    if args.columns:
        print("\n".join(f"{start}:{width}" for start, width in COLUMNS))
        return
    if args.update_file is None:
        parser.error("the update file is required")

    rng = random.Random(20261211)
    words = [w.encode("cp1251") for w in
             ["АБВ", "Ромашка", "12345", "ООО", "Иванов", "0001234", "77", "R2D2", "Мир", "x",
              "Москва", "Ёлка", "ул. Ленина", "Подольск"]]
    dates = [b"01.02.2020", b"31.12.2019", b".  .", b"12.  .2021"]
    written = 0
    with open(args.update_file, "wb") as update:
        while written < args.records:
            record = bytearray(b" " * (COLUMNS[-1][0] + COLUMNS[-1][1] - 1))
            for n, (start, width) in enumerate(COLUMNS):
                if n == 0:
                    value = b"R_AMT" if rng.random() >= 0.01 else b"R_XYZ"
                elif n == DATE_COLUMN:
                    value = rng.choice(dates)
                else:
                    value = rng.choice(words)[:width]
                record[start - 1:start - 1 + len(value)] = value
            line = scramble(bytes(record).rstrip())
            if line is None:
                continue  # a record this format cannot carry: draw another
            update.write(line + b"\r\n")
            written += record.startswith(b"R_AMT")
    print(written)


if __name__ == "__main__":
    main()
