#!/usr/bin/env python3
"""Writes the broken catalogues of the comparison cases (cases/broken-*/catalogue.mrc).

Each is made here byte by byte, because the damage cannot be written in the readable notation of
the other cases: a leader that lies, a directory that points past the data, records without
terminators, fields and records too long for the numbers of ISO 2709, fields out of tag order.
Run it from anywhere; it rewrites the files in place and is deterministic.
"""
import os

FT, RT, SD = b"\x1e", b"\x1d", b"\x1f"
HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "cases")


def field(tag, content):
    return (tag.encode(), content.encode("latin-1").replace(b"$", SD))


def record(fields, length=None, base=None, starts=None, terminator=RT):
    """An ISO 2709 record; `length`, `base` and `starts` replace the true numbers with lies."""
    directory, data = b"", b""
    for i, (tag, content) in enumerate(fields):
        body = content + FT
        start = starts[i] if starts else len(data)
        directory += tag + b"%04d" % min(len(body), 9999) + b"%05d" % start
        data += body
    directory += FT
    true_base = 24 + len(directory)
    true_length = true_base + len(data) + len(terminator)
    leader = b"%05dnam a22%05d a 4500" % (
        min(length if length is not None else true_length, 99999),
        base if base is not None else true_base,
    )
    return leader + directory + data + terminator


HOLES = [field("001", "h1"), field("082", "04$a813.54"), field("100", "1 $aSachar, Louis."),
         field("245", "10$aHoles")]
WONDER = [field("001", "w1"), field("100", "1 $aPalacio, R. J."), field("245", "14$aThe wonder")]
OTHER = [field("001", "o1"), field("100", "1 $aNobody, A."), field("245", "10$aNothing here")]

CASES = {
    # The record length and base address in the leader are wrong; the data are read all the same,
    # and the next record is found by its terminator.
    "broken-leader-lies": record(HOLES, length=99999, base=10) + record(WONDER, length=12),
    # Directory entries whose starting positions lie past the end of the data area.
    "broken-directory-past-data":
        record(HOLES, starts=[90000, 91000, 92000, 93000]) + record(OTHER),
    # A record without its terminator runs on into the next one; the last has none either.
    "broken-missing-terminators":
        record(OTHER, terminator=b"") + record(HOLES) + record(WONDER, terminator=b""),
    # A matched record with a field of 10,000 bytes cannot be written: its length has 4 digits.
    "broken-field-over-9999":
        record(HOLES + [field("500", "  $a" + "x" * 9996)]) + record(WONDER),
    # A matched record of more than 99,999 bytes cannot be written: its length has 5 digits.
    "broken-record-over-99999":
        record(HOLES + [field("500", "  $a" + "y" * 9000)] * 12) + record(WONDER),
    # Records of some libraries put local 9xx fields before the title; an earlier run's star and
    # raised indicator must still come off.
    "broken-9xx-before-245": record(
        [field("001", "n1"), field("906", "  $a7$bcbc"), field("925", "0 $aacquire"),
         field("955", "  $apc05"), field("082", "04$a813.54*"), field("100", "1 $aSachar, Louis."),
         field("245", "11$a*Holes"), field("440", " 0$aTUL 6-9")]),
}

BOOKLIST = (b"ID\tTitle\tAuthor\tAustralian\tPublisher\tYear\tISBN\tAnnotation\tCategories\tLevel\r\n"
            b"1\tHoles\tSachar, Louis\tN\t\t\t\t\t\tMiddle Years (6-9, Special)\r\n"
            b"2\tWonder\tPalacio, R. J.\tN\t\t\t\t\t\tEarly Years (R-2)\r\n")

for name, data in CASES.items():
    folder = os.path.join(HERE, name)
    os.makedirs(folder, exist_ok=True)
    for file_name, contents in (("catalogue.mrc", data), ("Booklist.tul", BOOKLIST)):
        with open(os.path.join(folder, file_name), "wb") as out:
            out.write(contents)
