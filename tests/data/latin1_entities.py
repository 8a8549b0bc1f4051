#!/usr/bin/env python3
# Prints "name code" for every HTML named character reference of the Latin-1 range
# (160-255), as Python's html.entities lists them.
import html.entities

for name, code in sorted(html.entities.name2codepoint.items()):
    if 160 <= code <= 255:
        print(name, code)
