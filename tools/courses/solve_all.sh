#!/bin/sh
# Re-finds the winning putts of every bundled hole (or of the holes named) with the solver,
# and prints each hole's time and putts, ready to be copied into its source's "putts" line.
#   tools/courses/solve_all.sh BUILD_DIR [COURSE/STEM ...]
# BUILD_DIR is a release build that has made the courses (target mg_courses).
set -u
build=${1:?usage: solve_all.sh BUILD_DIR [COURSE/STEM ...]}
shift
tool=$build/run/minigolf-tool
holes=$build/course_holes
if [ $# -eq 0 ]; then
  set -- $(cd "$holes" && ls */*.top | sed 's/\.top$//')
fi
for hole in "$@"; do
  start=$(date +%s.%N)
  out=$("$tool" hole solve "$holes/$hole.top" --max-strokes 6 2>&1)
  end=$(date +%s.%N)
  printf '%s %.1fs | %s\n' "$hole" "$(echo "$end - $start" | bc)" "$(echo "$out" | tr '\n' ' ')"
done
