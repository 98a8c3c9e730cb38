#!/usr/bin/env bash
# Builds the fuzz targets (clang's libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer)
# in build-fuzz/ and runs each for SECONDS (default 20) on a corpus seeded from the generated
# textures, sounds, music, courses and hole files and from tests/fuzz/seeds/. From 60 SECONDS
# on, the time is shared out in two passes: each target first runs half of it, then the rest
# of everyone's time goes to the targets that still found new coverage in the second half of
# their first run (to all, if none did); the total stays SECONDS per target.
# A crash input is left in build-fuzz/fuzz/findings/TARGET/; copy it into
# tests/fuzz/regressions/TARGET/ once it is mended, so the unit tests replay it.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-20}"
shift || true
build="$root/build-fuzz"
jobs="${MG_FUZZ_JOBS:-2}"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMG_FUZZ=ON \
  -DMG_BUILD_TESTS=OFF >/dev/null
# The seeds come from the generated data of this build or, when MG_FUZZ_SEEDS_FROM names
# another build folder (CI passes the test build), from that one's.
seedbuild="${MG_FUZZ_SEEDS_FROM:-$build}"
if [ "$seedbuild" = "$build" ]; then
  nice -n 10 cmake --build "$build" --target mg_fuzz mg_assets mg_courses -j"$jobs"
else
  nice -n 10 cmake --build "$build" --target mg_fuzz -j"$jobs"
fi

targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(hole course_description course_archive leader_board round_file settings bitmap wave midi net_message net_session)
run="$seedbuild/run"
fuzz="$build/fuzz"
seeds="$root/tests/fuzz/seeds"
regressions="$root/tests/fuzz/regressions"

# Seeds: the generated files of each kind, the hand-written ones and every regression file.
seed_corpus() {
  local target="$1" corpus="$fuzz/corpus/$1"
  mkdir -p "$corpus"
  case "$target" in
    hole) cp -f "$seedbuild"/course_holes/*/*.top "$corpus/" 2>/dev/null || true ;;
    course_archive) cp -f "$run"/courses/*.cor "$corpus/" ;;
    bitmap) cp -f "$run"/textures/*.bmp "$corpus/" ;;
    wave) cp -f "$run"/sounds/*.wav "$corpus/" ;;
    midi) cp -f "$run"/sounds/*.mid "$corpus/" ;;
  esac
  [ -d "$seeds/$target" ] && cp -f "$seeds/$target"/* "$corpus/"
  [ -d "$regressions/$target" ] && cp -f "$regressions/$target"/* "$corpus/"
  find "$corpus" -type f -empty -delete
  true
}

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
failed=()

# Runs a target on its corpus for SECS seconds, its output in LOG: run_target TARGET SECS LOG
run_target() {
  local target="$1" secs="$2" log="$3"
  local findings="$fuzz/findings/$target"
  mkdir -p "$findings"
  local dict=()
  [ -f "$root/tests/fuzz/dictionaries/$target.dict" ] && dict=(-dict="$root/tests/fuzz/dictionaries/$target.dict")
  echo "== fuzz-$target for ${secs}s"
  if ! (cd "$findings" && "$fuzz/fuzz-$target" "$fuzz/corpus/$target" "${dict[@]}" -max_total_time="$secs" \
        -max_len=65536 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" \
        >"$log" 2>&1); then
    failed+=("$target")
    tail -n 60 "$log"
  fi
  # The figures of the run: executions per second and coverage.
  grep -E "^stat::(number_of_executed_units|average_exec_per_sec|new_units_added)" "$log" | tr '\n' ' ' || true
  grep -E "#[0-9]+[[:space:]]+(DONE|pulse|NEW|REDUCE|INITED)" "$log" | tail -n 1 || true
  echo
}

# True when the run logged in $1 found new coverage in the second half of its executions.
still_growing() {
  awk '/^#[0-9]+[[:space:]]+NEW/ { n = substr($1, 2) + 0; if (n > last) last = n }
       /^Done [0-9]+ runs/ { total = $2 + 0 }
       END { exit !(total > 0 && last * 2 >= total) }' "$1"
}

first="$seconds"
[ "$seconds" -ge 60 ] && first=$((seconds / 2))
for target in "${targets[@]}"; do
  seed_corpus "$target"
  run_target "$target" "$first" "$fuzz/$target.log"
done

if [ "$first" -lt "$seconds" ]; then
  growing=()
  others=()
  for target in "${targets[@]}"; do
    case " ${failed[*]} " in *" $target "*) continue ;; esac
    if still_growing "$fuzz/$target.log"; then growing+=("$target"); else others+=("$target"); fi
  done
  [ ${#growing[@]} -eq 0 ] && growing=("${others[@]}")
  if [ ${#growing[@]} -gt 0 ]; then
    share=$(( (seconds - first) * ${#targets[@]} / ${#growing[@]} ))
    echo "== second pass, ${share}s each: ${growing[*]}"
    for target in "${growing[@]}"; do
      mv -f "$fuzz/$target.log" "$fuzz/$target.first.log"
      run_target "$target" "$share" "$fuzz/$target.log"
    done
  fi
fi

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz targets that failed: ${failed[*]} (inputs in $fuzz/findings/)"
  exit 1
fi
echo "every fuzz target ran ${seconds}s on average without a finding"
