#!/usr/bin/env python3
# Reads "mask<TAB>name" lines on stdin and prints, for each, whether Python's fnmatch
# passes the lower-cased name with the lower-cased mask: "1" or "0".
import fnmatch
import sys

for line in sys.stdin.read().splitlines():
    mask, name = line.split("\t", 1)
    print("1" if fnmatch.fnmatch(name.lower(), mask.lower()) else "0")
