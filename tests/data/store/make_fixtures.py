#!/usr/bin/env python3
"""Writes the small damaged record files the store tests read. Bytes are laid out here by
hand with struct, independently of the program's own encoder."""
import math
import struct
from pathlib import Path

HERE = Path(__file__).resolve().parent


def text(value: bytes, width: int, pad: bytes = b" ") -> bytes:
    assert len(value) <= width
    return value + pad * (width - len(value))


def user(date, first, last, password, level, comments):
    record = (struct.pack("<d", date) + first + last + password + struct.pack("<h", level)
              + comments)
    assert len(record) == 500
    return record


def person(date, first, middle, last, org, emp, comments, active):
    record = (struct.pack("<d", date) + first + middle + last + org + emp + comments
              + struct.pack("<h", active))
    assert len(record) == 1000
    return record


def main():
    # Two users an older program might have left: a NaN stamp, access level 9, NUL-filled
    # fields that were never assigned, an infinite stamp and access level 0.
    users = user(math.nan, text(b"Ann", 15), b"\0" * 20, text(b"xaybzc", 16), 9, b"\0" * 439)
    users += user(math.inf, b"\0" * 15, text(b" Lee", 20), b" " * 16, 0,
                  text(b"Caf\xe9 \x80 5", 439))
    (HERE / "users-damaged.bin").write_bytes(users)

    # One whole person and the first 600 bytes of a second: 1,600 bytes, two records by the
    # rounded count, the second read with zeros for its missing 400 bytes.
    first = person(41705.5, text(b"Mary", 15), text(b"Q", 15), text(b"Jones", 20),
                   text(b"Patrol", 30), text(b"E-17", 20), text(b"Night shift", 890), -1)
    second = person(41706.25, text(b"Bob", 15), b"\0" * 15, text(b"Smith", 20),
                    b"\0" * 30, text(b"E-18", 20), text(b"x" * 890, 890), 0)
    (HERE / "persons-partial.bin").write_bytes(first + second[:600])


if __name__ == "__main__":
    main()
