#!/usr/bin/env python3
"""Generates syllable corpora in the learner's input format (deterministic per seed).

  gen_corpus.py zipf SYLLABLES [--inventory N] [--words N] [--seed S]
      A lexicon of words of 1 to 4 syllables drawn from an inventory of about N
      syllables; words drawn with a Zipf-like law (weight 1/rank); an utterance
      boundary after every 1 to 6 words. Stops once SYLLABLES syllables are out.
  gen_corpus.py alphabet SYLLABLES [--inventory N] [--boundary P] [--seed S]
      Syllables drawn from a tiny alphabet (runs of one syllable are common),
      with a boundary after a syllable with probability P.

The corpus goes to standard output, one utterance per line.
"""
import argparse
import bisect
import random
import sys

CONSONANTS = "bdfgklmnprstvz"
VOWELS = "aeiou"


def syllable_inventory(size, rng):
    names = set()
    forms = [c + v for c in CONSONANTS for v in VOWELS]
    forms += [c + v + e for c in CONSONANTS for v in VOWELS for e in "nrsl"]
    forms += [c + d + v for c in "bdgkpt" for d in "lr" for v in VOWELS]
    forms += [c + d + v + e for c in "bdgkpt" for d in "lr" for v in VOWELS for e in "nrslmt"]
    rng.shuffle(forms)
    for form in forms:
        names.add(form)
        if len(names) >= size:
            break
    return sorted(names)


def zipf(args, rng, out):
    inventory = syllable_inventory(args.inventory, rng)
    lexicon = []
    seen = set()
    while len(lexicon) < args.words:
        length = rng.choice([1, 2, 2, 2, 3, 3, 4])
        word = tuple(rng.choice(inventory) for _ in range(length))
        if word not in seen:
            seen.add(word)
            lexicon.append(word)
    cumulative = []
    total = 0.0
    for rank in range(1, len(lexicon) + 1):
        total += 1.0 / rank
        cumulative.append(total)
    produced = 0
    while produced < args.syllables:
        utterance = []
        for _ in range(rng.randint(1, 6)):
            word = lexicon[bisect.bisect(cumulative, rng.random() * total)]
            utterance.extend(word)
        produced += len(utterance)
        out.write("".join(s + "/" for s in utterance) + "/\n")


def alphabet(args, rng, out):
    inventory = syllable_inventory(args.inventory, rng)
    line = []
    for _ in range(args.syllables):
        line.append(rng.choice(inventory) + "/")
        if rng.random() < args.boundary:
            out.write("".join(line) + "/\n")
            line = []
    if line:
        out.write("".join(line) + "\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("kind", choices=["zipf", "alphabet"])
    parser.add_argument("syllables", type=int)
    parser.add_argument("--inventory", type=int, default=2000)
    parser.add_argument("--words", type=int, default=3000)
    parser.add_argument("--boundary", type=float, default=0.0)
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()
    rng = random.Random(args.seed)
    (zipf if args.kind == "zipf" else alphabet)(args, rng, sys.stdout)


if __name__ == "__main__":
    main()
