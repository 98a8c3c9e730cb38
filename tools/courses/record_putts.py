#!/usr/bin/env python3
"""Copies the putts that solve_all.sh found into the hole sources' "putts" lines and sets each
par from them: one stroke more than the solver needed (at least 2), since the solver aims
perfectly and a good player does not.
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
    text = re.sub(r'(?m)^par \d+$', 'par %d' % max(2, strokes + 1), text, count=1)
    open(path, 'w').write(text)
    print(course, stem, 'par', max(2, strokes + 1), putts)
