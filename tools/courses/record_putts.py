#!/usr/bin/env python3
"""Copies the putts that solve_all.sh found into the hole sources' "putts" lines. Pars are
not the solver's: they come from the Expert computer player (minigolf-tool hole par).
   tools/courses/record_putts.py SOLVE_LOG"""
import re, sys, os
here = os.path.dirname(os.path.abspath(__file__))
for line in open(sys.argv[1]):
    m = re.match(r'(\S+)/(\S+) .*solved (\d+) strokes putts (.*?)\s*$', line)
    if not m:
        continue
    course, stem, strokes, putts = m.group(1), m.group(2), int(m.group(3)), m.group(4)
    path = os.path.join(here, course, stem + '.hole')
    text = open(path).read()
    text = re.sub(r'(?m)^putts.*$', 'putts ' + putts, text, count=1)
    open(path, 'w').write(text)
    print(course, stem, 'solved in', strokes, putts)
