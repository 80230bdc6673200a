#!/usr/bin/env python3
"""Writes the two many-item messages whose peak memory brevix-dump is measured on:
ascii.BIG, S6F11W holding L[2,500,000] of empty ASCII items (5 MB), and
u1.BIG, S6F11W holding L[5,000,000] of U1 items (15 MB).
Usage: make_many_items.py DIR; then /usr/bin/time -v brevix-dump --check DIR/u1.BIG"""
import os
import sys

HEADER = bytes([0x00, 0x01, 0x86, 0x0B, 0x80, 0x01, 0x00, 0x00, 0x00, 0x2A])


def many(item, count):
    # A list of up to 2**24 - 1 items takes three length bytes.
    return HEADER + bytes([0x03]) + count.to_bytes(3, "big") + item * count


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "ascii.BIG"), "wb") as f:
        f.write(many(bytes([0x41, 0x00]), 2_500_000))
    with open(os.path.join(out, "u1.BIG"), "wb") as f:
        f.write(many(bytes([0xA5, 0x01, 0x07]), 5_000_000))


if __name__ == "__main__":
    main()
