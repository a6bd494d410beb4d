#!/usr/bin/env python3
"""Writes a large invented catalogue and booklist for timing a comparison.

    make_bench_data.py FOLDER [RECORDS] [BOOKS]

FOLDER gets Catalogue.mrc (RECORDS MARC 21 records in ISO 2709, default 500,000, about 550
bytes each), Booklist.tul (BOOKS entries, default 10,000) and TULVersion.txt. About 4 % of the
records are copies of booklist books, found by the exact, the title and the series test; the
rest are other books, many by authors the booklist also has, so that the title test is busy.
The same arguments always give the same bytes.
"""
import random
import sys
from pathlib import Path

FT, RT, SD = b"\x1e", b"\x1d", b"\x1f"

WORDS = ("river moon garden secret shadow island winter dragon letter silver mountain house "
         "storm lantern forest journey clock kingdom ocean feather bridge mirror whisper wolf "
         "summer night paper castle meadow star city road fire stone harbour orchard tide "
         "thunder valley crow fox honey ember glass marble violet compass anchor tower").split()
SURNAMES = ("Abbott Barlow Carver Dalton Ellery Fenwick Garrow Hartley Inglis Jarvis Kendrick "
            "Lowther Marsh Norris Oakley Pember Quill Radley Sutton Thorne Upton Varley Walsh "
            "Yardley Ashby Brennan Colley Dunmore Easton Fairlie Gilroy Holt Ives Jessop Keane "
            "Lacey Merritt Nash Orme Pryor Rook Sayer Tully Vance Whitby Ashdown Beck Crane").split()
GIVEN = "Anna Ben Clara David Edith Frank Grace Henry Iris Jack Kate Leo Mia Noah Olive Paul".split()
LEVELS = ("Early Years (R-2)", "Primary Years (3-5)", "Middle Years (6-9, Special)", "Mature")
SUBJECTS = ("Friendship", "Animals", "Adventure stories", "Families", "Schools", "Magic",
            "Australia", "Humorous stories", "Mystery and detective stories", "Dogs")


def field(indicators, *subfields):
    data = indicators.encode()
    for code, value in subfields:
        data += SD + code.encode() + value.encode("latin-1")
    return data


def record(rng, n, title, author, series, call):
    fields = [
        (b"001", f"bench{n:08d}".encode()),
        (b"003", b"TUL"),
        (b"005", b"20240315101500.0"),
        (b"008", b"240315s2023    at a   j      000 1 eng d"),
        (b"020", field("  ", ("a", f"978{rng.randrange(10**9, 10**10)}"))),
        (b"082", field("04", ("a", call), ("b", author[:3].upper()))),
        (b"100", field("1 ", ("a", author + ","), ("e", "author."))),
        (b"245", field("10", ("a", title + " /"), ("c", "by " + author.split(", ")[-1] + "."))),
        (b"264", field(" 1", ("a", "Sydney :"), ("b", "Tin Roof Books,"), ("c", "2023."))),
        (b"300", field("  ", ("a", f"{rng.randrange(24, 400)} pages ;"), ("c", "20 cm"))),
    ]
    if series:
        fields.append((b"490", field("1 ", ("a", series + "."))))
    summary = " ".join(rng.choice(WORDS) for _ in range(rng.randrange(3, 9)))
    fields.append((b"520", field("  ", ("a", summary.capitalize() + "."))))
    for _ in range(rng.randrange(1, 4)):
        fields.append((b"650", field(" 7", ("a", rng.choice(SUBJECTS)), ("2", "scot"))))
    fields.append((b"852", field("  ", ("a", "Library"), ("h", call), ("p", str(100000 + n)))))
    directory, data = b"", b""
    for tag, content in fields:
        directory += tag + b"%04d%05d" % (len(content) + 1, len(data))
        data += content + FT
    base = 24 + len(directory) + 1
    length = base + len(data) + 1
    leader = b"%05dnam a22%05d i 4500" % (length, base)
    return leader + directory + FT + data + RT


def title_words(rng, count):
    return " ".join(rng.choice(WORDS) for _ in range(count)).capitalize()


def main():
    folder = Path(sys.argv[1])
    records = int(sys.argv[2]) if len(sys.argv) > 2 else 500_000
    books = int(sys.argv[3]) if len(sys.argv) > 3 else 10_000
    folder.mkdir(parents=True, exist_ok=True)
    rng = random.Random(20240315)

    entries = []
    lines = ["ID\tTitle\tAuthor\tAustralian\tPublisher\tYear\tISBN\tAnnotation\tCategories\t"
             "Level\tSeries\tFormat\tSCIS"]
    for i in range(books):
        author = f"{rng.choice(SURNAMES)}{i % 97}, {rng.choice(GIVEN)}"
        title = title_words(rng, rng.randrange(2, 5))
        if i % 5 == 0:
            title = "The " + title
        series = f"{title_words(rng, 2)} tales {i}" if i % 10 == 0 else ""
        level = LEVELS[i % 4]
        entries.append((author, title, series))
        lines.append(f"{1000 + i}\t{title}\t{author}\tY\tTin Roof Books\t2023\t978 0 00 {i:06d} 0\t"
                     f"An invented book.\tAdventure;Animals\t{level}\t{series}\tBook\t{i}")
    (folder / "Booklist.tul").write_bytes(("\r\n".join(lines) + "\r\n").encode("latin-1"))
    (folder / "TULVersion.txt").write_bytes(b"bench\r\n")

    with open(folder / "Catalogue.mrc", "wb") as out:
        for n in range(records):
            kind = rng.random()
            call = f"{rng.randrange(0, 999)}.{rng.randrange(0, 99)}"
            author, title, series = rng.choice(entries)
            if kind < 0.02:  # the booklist's own title: exact test
                pass
            elif kind < 0.035:  # title with a subtitle: title test
                title = title + " : " + title_words(rng, 2).lower()
            elif kind < 0.04 and series:  # another book of the series: series test
                title = title_words(rng, 3)
            elif kind < 0.6:  # another book by a booklist author: the title test finds nothing
                title = title_words(rng, rng.randrange(2, 6))
                series = ""
            else:  # an author the booklist does not have
                author = f"{rng.choice(SURNAMES)}-{rng.choice(SURNAMES)}, {rng.choice(GIVEN)}"
                title = title_words(rng, rng.randrange(2, 6))
                series = ""
            out.write(record(rng, n, title, author, series, call))


if __name__ == "__main__":
    main()
