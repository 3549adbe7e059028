#!/usr/bin/env python3
"""Writes corpus.tmp: four three-syllable words of an artificial language,
concatenated in random order with no pause, as in the classic statistical
learning experiments with infants. Every syllable belongs to exactly one word,
so syllable transitions are certain inside words and uncertain across them.

Usage: python3 make_corpus.py [words_count] [seed]   (defaults: 1200 words, seed 7)
"""
import random
import sys

WORDS = ["pa/bi/ku/", "ti/bu/do/", "go/la/tu/", "da/ro/pi/"]


def main():
    count = int(sys.argv[1]) if len(sys.argv) > 1 else 1200
    rng = random.Random(int(sys.argv[2]) if len(sys.argv) > 2 else 7)
    words = []
    previous = None
    for _ in range(count):
        # No word follows itself, as in the original designs.
        word = rng.choice([w for w in WORDS if w != previous])
        words.append(word)
        previous = word
    # Twenty words to a line; lines are joined when read, so this is one stream.
    lines = ["".join(words[i:i + 20]) for i in range(0, len(words), 20)]
    # A closing empty field ends the stream with a boundary, so that the learner
    # consumes it to the very last syllable.
    with open("corpus.tmp", "w") as out:
        out.write("\n".join(lines) + "/\n")


if __name__ == "__main__":
    main()
