#!/usr/bin/env bash
# Builds the game with its generated data and bundled courses, then starts it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMG_BUILD_TESTS=OFF
cmake --build "$root/build" -j"$(nproc)"
cd "$root/build/run"
exec ./minigolf "$@"
