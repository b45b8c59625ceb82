#!/usr/bin/env python3
"""Writes a numbered-code update file (DOS-866, CRLF) of short record lines,
20 bytes on average with their line break: "/01=" and a value of 0 to 28
characters. Prints the number of lines written."""
import argparse
import random


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("update_file")
    parser.add_argument("--bytes", type=int, default=100_000_000)
    args = parser.parse_args()

    rng = random.Random(20261212)
    letters = "АБВГДЕЖЗИКЛМНОПРСТУФабвгдежзиклмнопрст0123456789 -."
    # Every value length once in a shuffled cycle of 29 lines keeps the mean at 20 bytes.
    values = [("".join(rng.choice(letters) for _ in range(length))) for length in range(29)]
    lines = [f"/01={v}\r\n".encode("cp866") for v in values]
    written = count = 0
    with open(args.update_file, "wb") as update:
        block = []
        while written < args.bytes:
            order = list(range(29))
            rng.shuffle(order)
            for i in order:
                block.append(lines[i])
                written += len(lines[i])
                count += 1
            if len(block) > 100_000:
                update.write(b"".join(block))
                block = []
        update.write(b"".join(block))
    print(count)


if __name__ == "__main__":
    main()
