#!/usr/bin/env python3
"""Regenerates the committed word lists in resources/words/.

english.rec        the dictionary: 15-byte records (0x1E, then the word in upper case padded
                   with blanks to 14 bytes), sorted by byte value. Source: the npm package
                   word-list 4.1.0 (MIT), fetched with `npm pack`.
listbox_words.txt  the computer player's short list: common lower-case words of 1 to 7
                   letters, one a line, in alphabetical order. Source: Debian's scowl package
                   (levels 10 and 20 of english-words and american-words), keeping only the
                   words the dictionary above accepts.
word_tiers.txt     what the computer levels know: every word of 2 to 10 letters that the
                   dictionary accepts and that scowl lists at size 50 or below, one a line as
                   "word level", where level is the smallest scowl size listing it (10 the
                   commonest words). Alphabetical. Same scowl files, english and american.

Needs python3, npm (registry access) and `apt-get install scowl`. Run from anywhere:
    tools/make_wordlists.py [--word-list DIR_WITH_WORDS_TXT] [--scowl DIR]
"""
import argparse
import pathlib
import re
import subprocess
import sys
import tarfile
import tempfile

WORD_LIST_PACKAGE = "word-list@4.1.0"
SCOWL_DIR = "/usr/share/dict/scowl"
SCOWL_COPYRIGHT = "/usr/share/doc/scowl/copyright"
SCOWL_FILES = ["english-words.10", "english-words.20", "american-words.10", "american-words.20"]
RECORD_MARK = b"\x1e"
KEY_LETTERS = 14
TIER_LEVELS = [10, 20, 35, 40, 50]
TIER_LENGTHS = (2, 10)

ROOT = pathlib.Path(__file__).resolve().parent.parent
OUT = ROOT / "resources" / "words"


def fetch_word_list(tmp: pathlib.Path) -> pathlib.Path:
    subprocess.run(["npm", "pack", WORD_LIST_PACKAGE, "--silent"], cwd=tmp, check=True,
                   stdout=subprocess.DEVNULL)
    tgz = next(tmp.glob("word-list-*.tgz"))
    with tarfile.open(tgz) as tar:
        # The safe extraction filter exists only in newer Pythons; the package is trusted anyway.
        if hasattr(tarfile, "data_filter"):
            tar.extractall(tmp, filter="data")
        else:
            tar.extractall(tmp)
    return tmp / "package"


def dictionary_words(words_txt: pathlib.Path) -> list[str]:
    letters = re.compile(r"^[a-z]{2,}$")
    words = []
    for line in words_txt.read_text(encoding="utf-8").splitlines():
        word = line.strip()
        if letters.match(word):
            # A longer word keeps its first 14 letters; the repeats this makes are kept too.
            words.append(word[:KEY_LETTERS].upper())
    # Sorting the padded records equals sorting the words, since the blank sorts below A.
    words.sort(key=lambda w: w.encode("ascii").ljust(KEY_LETTERS))
    return words


def records(words: list[str]) -> bytes:
    return b"".join(RECORD_MARK + w.encode("ascii").ljust(KEY_LETTERS) for w in words)


def computer_words(scowl: pathlib.Path, accepted: set[str]) -> list[str]:
    short = re.compile(r"^[a-z]{1,7}$")
    chosen = set()
    for name in SCOWL_FILES:
        text = (scowl / name).read_text(encoding="utf-8", errors="replace")
        for line in text.splitlines():
            word = line.strip()
            if short.match(word) and (len(word) == 1 or word.upper() in accepted):
                chosen.add(word)
    return sorted(chosen)


def word_tiers(scowl: pathlib.Path, accepted: set[str]) -> dict[str, int]:
    low, high = TIER_LENGTHS
    shape = re.compile(r"^[a-z]{%d,%d}$" % (low, high))
    tiers: dict[str, int] = {}
    for level in TIER_LEVELS:
        for kind in ("english-words", "american-words"):
            text = (scowl / f"{kind}.{level}").read_text(encoding="utf-8", errors="replace")
            for line in text.splitlines():
                word = line.strip()
                if shape.match(word) and word.upper() in accepted:
                    tiers.setdefault(word, level)
    return tiers


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--word-list", type=pathlib.Path,
                        help="folder holding words.txt of word-list 4.1.0 (default: npm pack)")
    parser.add_argument("--scowl", type=pathlib.Path, default=pathlib.Path(SCOWL_DIR))
    args = parser.parse_args()

    OUT.mkdir(parents=True, exist_ok=True)
    with tempfile.TemporaryDirectory() as tmpname:
        package = args.word_list or fetch_word_list(pathlib.Path(tmpname))
        words = dictionary_words(package / "words.txt")
        (OUT / "LICENSE-word-list").write_bytes((package / "license").read_bytes())

    (OUT / "english.rec").write_bytes(records(words))
    accepted = set(words)
    short = computer_words(args.scowl, accepted)
    (OUT / "listbox_words.txt").write_text("".join(w + "\n" for w in short), encoding="ascii")
    tiers = word_tiers(args.scowl, accepted)
    (OUT / "word_tiers.txt").write_text("".join(f"{w} {tiers[w]}\n" for w in sorted(tiers)),
                                        encoding="ascii")
    (OUT / "LICENSE-scowl").write_bytes(pathlib.Path(SCOWL_COPYRIGHT).read_bytes())
    print(f"english.rec: {len(words)} records; listbox_words.txt: {len(short)} words; "
          f"word_tiers.txt: {len(tiers)} words")
    return 0


if __name__ == "__main__":
    sys.exit(main())
