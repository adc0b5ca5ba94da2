#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""hit@1 and hit@5 of `phrasetool search` over the query set.

usage: measure.py PHRASETOOL [QUERIES.tsv] [-v]

Each query runs as a traveller would type it; a hit is an acceptable phrase
number among the first one or five lines printed. Queries the book has no
phrase for ("-") are counted apart: for them a short list is the right answer.
"""
import os
import subprocess
import sys


def main():
    args = [a for a in sys.argv[1:] if a != "-v"]
    verbose = "-v" in sys.argv
    tool = args[0]
    queries = args[1] if len(args) > 1 else os.path.join(os.path.dirname(__file__), "queries.tsv")
    hit1 = hit5 = total = 0
    unanswerable = []
    for line in open(queries, encoding="utf-8"):
        if line.startswith("#") or not line.strip():
            continue
        query, accept, _kind = line.rstrip("\n").split("\t")
        run = subprocess.run([tool, "search", *query.split()], capture_output=True, text=True)
        numbers = [int(row.split("\t")[0]) for row in run.stdout.splitlines() if row]
        if accept == "-":
            unanswerable.append((query, len(numbers)))
            continue
        wanted = {int(n) for n in accept.split(",")}
        total += 1
        first = bool(numbers[:1]) and numbers[0] in wanted
        five = any(n in wanted for n in numbers[:5])
        hit1 += first
        hit5 += five
        if verbose and not first:
            print(f"{'miss@5' if not five else 'miss@1'}\t{query}\t{numbers[:5]}\twanted {sorted(wanted)}")
    print(f"queries {total}: hit@1 {hit1}/{total} = {100 * hit1 / total:.1f}%, hit@5 {hit5}/{total} = {100 * hit5 / total:.1f}%")
    print("no phrase in the book: " + ", ".join(f"{q} ({n} lines)" for q, n in unanswerable))


if __name__ == "__main__":
    main()
