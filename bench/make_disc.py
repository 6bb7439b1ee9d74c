#!/usr/bin/env python3
"""Lays out a large disc for the benchmark: 2047 categories in a tree that is both deep and wide, and 20,000
programs, each with a Polish and a Czech description file, in the formats the browser reads (code page 1250,
CRLF line ends). The same seed gives the same disc byte for byte.

Usage: make_disc.py DISC [--programs N] [--seed S]
"""
import argparse
import os
import random

CATEGORY_COUNT = 2047  # every id the browser accepts, 1..2047
CHAIN_LENGTH = 150  # the deepest branch: a chain this long hangs below one of the top categories

WORDS_PL = ["gry", "narzędzia", "grafika", "edukacja", "łamigłówki", "źródła", "żółw", "ćwiczenia", "słownik",
            "mapy", "dźwięk", "pisanie", "nauka", "obrazy", "sieć", "pliki", "archiwa", "zegary", "ślady", "gęśl"]
WORDS_CZ = ["hry", "nástroje", "grafika", "výuka", "hlavolamy", "zdroje", "želva", "cvičení", "slovník",
            "mapy", "zvuk", "psaní", "učení", "obrázky", "síť", "soubory", "archivy", "hodiny", "stopy", "kůň"]


def parents(rng):
    """Parent of every category id: 40 top categories, a long chain, a few very wide ones, the rest random."""
    parent = {}
    for i in range(1, 41):
        parent[i] = 0
    chain_start = CATEGORY_COUNT - CHAIN_LENGTH + 1
    previous = 7
    for i in range(chain_start, CATEGORY_COUNT + 1):
        parent[i] = previous
        previous = i
    wide = [3, 11, 29]  # each of these gets several hundred direct children
    for i in range(41, chain_start):
        if i % 3 == 0:
            parent[i] = wide[i % len(wide)]
        else:
            # Any lower id, so every chain reaches the root; the file order is shuffled separately.
            parent[i] = rng.randrange(1, i)
    return parent


def phrase(rng, words, count):
    return " ".join(rng.choice(words) for _ in range(count))


def write_text(path, lines):
    with open(path, "w", encoding="cp1250", newline="\r\n") as f:
        for line in lines:
            f.write(line + "\n")


def category_file(path, parent, rng, words, label):
    ids = list(parent)
    rng.shuffle(ids)  # definition order is free
    lines = ["# " + label]
    for i in ids:
        lines.append("%d;%d;%s %d" % (i, parent[i], phrase(rng, words, 2).capitalize(), i))
        for _ in range(rng.randrange(0, 4)):
            lines.append(phrase(rng, words, 8))
        lines.append("$")
        lines.append("")
    write_text(path, lines)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("disc")
    parser.add_argument("--programs", type=int, default=20000)
    parser.add_argument("--seed", type=int, default=2047)
    args = parser.parse_args()
    rng = random.Random(args.seed)
    os.makedirs(args.disc, exist_ok=True)

    parent = parents(rng)
    category_file(os.path.join(args.disc, "kat1.txt"), parent, random.Random(args.seed + 1), WORDS_PL,
                  "Kategorie - wersja polska")
    category_file(os.path.join(args.disc, "kat2.txt"), parent, random.Random(args.seed + 2), WORDS_CZ,
                  "Kategorie - česká verze")

    program_lines = []
    for n in range(args.programs):
        directory = "PROG\\D%03d\\P%05d" % (n // 100, n)
        category = 0 if n % 97 == 0 else rng.randrange(1, CATEGORY_COUNT + 1)
        block = [directory, str(category), "run=prog%d.exe" % n]
        files = ["prog%d.exe" % n]
        if n % 4 == 0:
            block.append("ins=setup.exe")
            files.append("setup.exe")
        if n % 10 == 0:
            block.append("cop=c:\\programy\\p%05d" % n)
        if n % 7 == 0:
            # Own description names instead of the defaults.
            polish, czech = "info\\pl.txt", "info\\cz.txt"
            block += ["op1=" + polish, "op2=" + czech]
        else:
            polish, czech = "opis\\opis1.txt", "opis\\opis2.txt"
        program_lines += block + [""]

        unix_dir = os.path.join(args.disc, *directory.split("\\"))
        os.makedirs(os.path.join(unix_dir, os.path.dirname(polish.replace("\\", "/"))), exist_ok=True)
        for name in files:
            open(os.path.join(unix_dir, name), "wb").close()
        for name, words in ((polish, WORDS_PL), (czech, WORDS_CZ)):
            lines = ["%s %d" % (phrase(rng, words, 2).capitalize(), n)]
            lines += [phrase(rng, words, 10) for _ in range(rng.randrange(2, 12))]
            write_text(os.path.join(unix_dir, *name.split("\\")), lines)
    write_text(os.path.join(args.disc, "prog.txt"), program_lines)

    write_text(os.path.join(args.disc, "tamo_cd.ini"), [
        "[other]", "multi_lang=no", "lang=pl",
        "[files]", "kat_pl=.\\kat1.txt", "kat_cz=.\\kat2.txt", "prog=.\\prog.txt",
        "def_opis_pl=opis\\opis1.txt", "def_opis_cz=opis\\opis2.txt",
        "[directories]", "def_copy=c:\\tmp"])


if __name__ == "__main__":
    main()
