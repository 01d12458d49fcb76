#!/usr/bin/env python3
"""Checks that every picture README.md shows exists beside it.

    check-readme-pictures.py README.md
"""
import os
import re
import sys


def main(readme):
    links = re.findall(r"!\[[^\]]*\]\(([^)\s]+)", open(readme, encoding="utf-8").read())
    missing = [link for link in links if not os.path.isfile(os.path.join(os.path.dirname(readme), link))]
    for link in missing:
        print("MISSING:", link)
    print(f"{len(links)} pictures linked, {len(missing)} missing")
    return 1 if missing or not links else 0


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1]))
