#!/usr/bin/env python3
"""Writes the seed corpus of the store fuzzer: small data folders in the fuzz input layout
(fuzz/FuzzInput.h), one per situation the store must handle. Bytes are laid out by hand with
struct."""
import struct
from pathlib import Path

HERE = Path(__file__).resolve().parent
NAMES = ["User.List", "Name.List", "Course.Index", "Training.Records", "TempFile.$$$",
         "PersonRemoval.Journal", "CourseUpdate.Journal", "RecordWrite.Journal"]
STAMP = 41705.5  # 3/7/2014 12:00:00 PM


def text(value: bytes, width: int) -> bytes:
    return value[:width] + b" " * (width - len(value[:width]))


def user(i):
    return (struct.pack("<d", STAMP + i / 86400) + text(b"User%d" % i, 15) + text(b"Lee", 20)
            + text(b"xaybzc", 16) + struct.pack("<h", 1 + i % 4) + text(b"", 439))


def person(i, active=-1):
    return (struct.pack("<d", STAMP + i / 86400) + text(b"First%d" % i, 15) + text(b"", 15)
            + text(b"Last", 20) + text(b"Patrol", 30) + text(b"E%d" % i, 20)
            + text(b"", 890) + struct.pack("<h", active))


def course(i, code=None):
    return (struct.pack("<d", STAMP + (100 + i) / 86400) + text(code or b"C-%d" % i, 8)
            + text(b"Course %d" % i, 50) + text(b"Academy", 30) + struct.pack("<f", 8)
            + text(b"", 200))


def training(person_i, course_i, i):
    return (struct.pack("<d", 41640 + i) + struct.pack("<d", STAMP + person_i / 86400)
            + struct.pack("<d", STAMP + (100 + course_i) / 86400) + text(b"C-%d" % course_i, 8)
            + text(b"Course %d" % course_i, 50) + text(b"Academy", 30) + struct.pack("<f", 8)
            + text(b"T%d" % i, 188))


def bits(value):
    return "%x" % struct.unpack("<Q", struct.pack("<d", value))[0]


def folder(files, remove=1):
    out = bytearray([0, remove])
    for index, name in enumerate(NAMES):
        if name in files:
            out[0] |= 1 << index
            data = files[name]
            out += struct.pack("<H", len(data)) + data
    return bytes(out)


def main():
    persons = person(1) + person(2) + person(3, 0)
    courses = course(1) + course(2)
    trainings = b"".join(training(1 + i % 3, 1 + i % 2, i) for i in range(6))
    seeds = {
        "clean": folder({"User.List": user(1), "Name.List": persons, "Course.Index": courses,
                         "Training.Records": trainings}),
        "part-record-tails": folder({"Name.List": persons[:2600], "User.List": user(1)[:260],
                                     "Training.Records": trainings[:1650]}, remove=5),
        "cut-short-only-copy": folder({"TempFile.$$$": persons[:2600],
                                       "Course.Index": courses}),
        "leftover-copy": folder({"TempFile.$$$": courses[:300], "Course.Index": courses},
                                remove=2),
        "person-removal-journal": folder({
            "Name.List": persons, "Training.Records": trainings,
            "PersonRemoval.Journal": ("Mirtavel person removal\nDateCreated=%s\nName=\nend\n"
                                      % bits(STAMP + 2 / 86400)).encode()}),
        "course-update-journal": folder({
            "Training.Records": trainings,
            "CourseUpdate.Journal": ("Mirtavel course update\nCourseCode=4e4557\n"
                                     "CourseName=\nDateCreated=%s\nHours=%s\nProvidedBy=\nend\n"
                                     % (bits(STAMP + 101 / 86400), bits(4.0))).encode()}),
        "record-write-journal": folder({
            "Name.List": persons + person(4)[:500],
            "RecordWrite.Journal": ("Mirtavel record write\nFile=%s\nFormer=\nLength=3000\n"
                                    "Offset=3000\nend\n" % b"Name.List".hex()).encode()}),
        "torn-journal": folder({"Training.Records": trainings,
                                "CourseUpdate.Journal": b"Mirtavel course update\nCour"}),
        "marked-and-odd": folder({"Name.List": person(1)[:8] + text(b"$Killed$", 15)
                                  + person(1)[23:] + person(2, 1),
                                  "Course.Index": course(1, b"$Killed$")}, remove=6),
    }
    for name, data in seeds.items():
        (HERE / (name + ".bin")).write_bytes(data)


if __name__ == "__main__":
    main()
