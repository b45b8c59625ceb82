#!/usr/bin/env python3
"""The floor of converting many small files: writes FILES new files of BYTES
bytes each into a folder, flushing each to the disk, then flushes the folder;
prints the seconds it took."""
import argparse
import os
import time


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("folder")
    parser.add_argument("files", type=int)
    parser.add_argument("bytes", type=int)
    args = parser.parse_args()

    block = b"\x20" * args.bytes
    os.makedirs(args.folder, exist_ok=True)
    started = time.perf_counter()
    for number in range(args.files):
        descriptor = os.open(os.path.join(args.folder, f"t{number:05d}.dbf"),
                             os.O_WRONLY | os.O_CREAT | os.O_EXCL, 0o644)
        try:
            os.write(descriptor, block)
            os.fsync(descriptor)
        finally:
            os.close(descriptor)
    folder = os.open(args.folder, os.O_RDONLY)
    try:
        os.fsync(folder)
    finally:
        os.close(folder)
    print(f"{time.perf_counter() - started:.3f}")


if __name__ == "__main__":
    main()
