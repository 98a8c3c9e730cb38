#!/usr/bin/env bash
# The packaging test: builds the Release Debian package, validates the desktop entry, the
# AppStream metainfo and the package (lintian: no error, no warning), installs it with apt-get,
# then plays it as an unprivileged user with a fresh, empty HOME under Xvfb:
#   - --version, --help and a bad option answer without a display;
#   - copy 1 plays the bundled beginners course chosen in the course chooser; copy 2, started
#     meanwhile with the championship course on its command line, plays that one; both leave
#     through the exit question; copy 3 is ended by SIGTERM, as a session's end does;
#   - strace shows that each wrote only inside the HOME's XDG folders and its own private
#     unpack folder (removed at exit), and copy 2 never touched copy 1's unpacked files (it
#     only found copy 1's folder locked).
# Needs root (apt-get, a second user). Screenshots and traces go to build-package/artifacts.
#   bash tests/packaging/package_test.sh [BUILD_DIR]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build-package}"
artifacts="$build/artifacts"
fail() { echo "PACKAGING TEST FAILED: $*" >&2; exit 1; }
step() { echo "== $*"; }
[ "$(id -u)" -eq 0 ] || fail "needs root (apt-get install, a second user)"

step "building the Release package in $build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DMG_BUILD_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
rm -f "$build"/minigolf_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb="$(ls "$build"/minigolf_*.deb)"
rm -rf "$artifacts" && mkdir -p "$artifacts"

step "validating the desktop entry, the metainfo and the package"
out="$(desktop-file-validate "$root/packaging/minigolf.desktop" 2>&1)" || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate: $out"
appstreamcli validate --no-net "$root"/packaging/*.metainfo.xml || fail "appstreamcli validate"
lintian --fail-on error,warning --tag-display-limit 0 "$deb" | tee "$artifacts/lintian.txt" || fail "lintian: $(cat "$artifacts/lintian.txt")"
if grep -E '^(E|W): ' "$artifacts/lintian.txt"; then fail "lintian reports errors or warnings"; fi

step "installing $deb"
DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" >/dev/null
dpkg-query -W -f='${Status}\n' minigolf | grep -q "install ok installed" || fail "not installed"
game=/usr/games/minigolf
for f in "$game" /usr/games/minigolf-tool /usr/share/games/minigolf/courses/beginners.cor \
         /usr/share/games/minigolf/fonts/default.txf /usr/share/applications/minigolf.desktop \
         /usr/share/icons/hicolor/256x256/apps/minigolf.png /usr/share/man/man6/minigolf.6.gz; do
  [ -e "$f" ] || fail "the package lacks $f"
done
! dpkg -L minigolf | grep -E 'Config\.glf|\.lbh$|/temp$|gen-assets|make-courses|minigolf-bench|portable-mode' ||
  fail "the package holds files it must not"

step "the command line without a display"
version="$(env -u DISPLAY "$game" --version)" || fail "--version exit status $?"
echo "$version" | grep -q '^minigolf .* [0-9]' || fail "--version printed: $version"
env -u DISPLAY "$game" --help | grep -q -- '--data-dir' || fail "--help"
set +e
env -u DISPLAY "$game" --no-such-option >"$artifacts/bad_option.out" 2>"$artifacts/bad_option.err"
status=$?
set -e
[ "$status" -eq 2 ] || fail "a bad option exited with $status"
[ ! -s "$artifacts/bad_option.out" ] && grep -q "no-such-option" "$artifacts/bad_option.err" || fail "a bad option's message"

step "playing as an unprivileged user with an empty HOME"
user=nobody
group="$(id -gn "$user")"
scratch="$(mktemp -d /tmp/minigolf-package-XXXXXX)"
chmod 755 "$scratch"
home="$scratch/home"
runtime="$scratch/runtime"
traces="$scratch/traces"
mkdir -p "$home" "$runtime" "$traces"
chown "$user:$group" "$home" "$runtime" "$traces"
chmod 700 "$home" "$runtime"
# Xvfb picks a display number nobody holds and binds it in one step (-displayfd), then
# writes it once it takes connections: no other X server on the machine can be mistaken for it.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset >"$artifacts/xvfb.log" 2>&1 3>"$scratch/display" &
xvfb=$!
pids=()
cleanup() {
  # Each copy runs in a session of its own: runuser, strace and the game go together.
  for pid in "${pids[@]}"; do kill -TERM -- "-$pid" 2>/dev/null || true; done
  sleep 1
  for pid in "${pids[@]}"; do kill -KILL -- "-$pid" 2>/dev/null || true; done
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$scratch"
  DEBIAN_FRONTEND=noninteractive apt-get purge -y -q minigolf >/dev/null 2>&1 || true
}
trap cleanup EXIT
for _ in $(seq 300); do
  grep -q '^[0-9][0-9]*$' "$scratch/display" 2>/dev/null && break
  kill -0 "$xvfb" 2>/dev/null || fail "Xvfb ended at start: $(cat "$artifacts/xvfb.log")"
  sleep 0.1
done
display=":$(grep -m1 '^[0-9][0-9]*$' "$scratch/display")" || fail "Xvfb named no display: $(cat "$artifacts/xvfb.log")"
xdpyinfo -display "$display" >/dev/null 2>&1 || fail "Xvfb on $display takes no connection"
export DISPLAY="$display"

# Starts the installed game as the user under strace: run_game NAME ARGS...
run_game() {
  local name="$1"; shift
  (cd "$home" && exec setsid runuser -u "$user" -- env -i HOME="$home" PATH=/usr/games:/usr/bin:/bin DISPLAY="$display" \
     XDG_RUNTIME_DIR="$runtime" SDL_AUDIODRIVER=dummy LANG=C.UTF-8 \
     strace -f -qq -o "$traces/$name.trace" -e trace=%file -e signal=none \
     "$game" "$@" >"$artifacts/$name.log" 2>&1) &
  pids+=($!)
}
# The id of the newest window titled $1 not in $2 (a list of ids).
wait_window() {
  for _ in $(seq 150); do
    for id in $(xdotool search --name "^$1\$" 2>/dev/null); do
      case " $2 " in *" $id "*) ;; *) echo "$id"; return 0 ;; esac
    done
    sleep 0.1
  done
  return 1
}
click() { xdotool mousemove --window "$1" "$2" "$3" sleep 0.2 click 1 sleep 0.5; }
title_is() {
  for _ in $(seq 100); do [ "$(xdotool getwindowname "$1")" = "$2" ] && return 0; sleep 0.1; done
  fail "window $1 is titled '$(xdotool getwindowname "$1")', not '$2'"
}
shot() { import -display "$display" -window root "$artifacts/$1.png"; }
# The player dialog: one name, then "Ready To Play" (a 600 x 450 window).
sit_down() { click "$1" 150 85; xdotool type --delay 40 "$2"; click "$1" 215 355; }
# Escape opens the exit question; its "Yes".
leave() { xdotool mousemove --window "$1" 300 225 sleep 0.3 key Escape sleep 0.5; click "$1" 240 280; }

run_game first
first="$(wait_window "No File Loaded." "")" || fail "copy 1 showed no window: $(cat "$artifacts/first.log")"
sleep 1
shot package_start_screen
click "$first" 215 245                          # "Play Course"
sit_down "$first" Ann
sleep 0.5
shot package_course_chooser
xdotool type --delay 40 beginners
click "$first" 390 363                          # "Open"
title_is "$first" beginners.cor
sleep 2
shot package_copy1_playing
unpack1="$(ls -d "$runtime"/minigolf-* 2>/dev/null | head -1)"
[ -n "$unpack1" ] && [ -f "$unpack1/temp/course_description_file.cdf" ] || fail "copy 1 unpacked nowhere under $runtime"
sums1="$(cd "$unpack1/temp" && sha256sum -- * | sort; stat -c '%n %Y' -- * | sort)"

run_game second -geometry 600x450+660+0 /usr/share/games/minigolf/courses/championship.cor
second="$(wait_window "No File Loaded." "$first")" || fail "copy 2 showed no window: $(cat "$artifacts/second.log")"
sleep 1
# Copy 1's round is saved in the same HOME: a course on the command line asks before
# dropping it. "Yes" starts the new one.
shot package_copy2_asks
click "$second" 240 280
sit_down "$second" Bo
title_is "$second" championship.cor
sleep 2
shot package_both_playing
unpack2="$(ls -d "$runtime"/minigolf-* | grep -vx "$unpack1" | head -1)"
[ -n "$unpack2" ] && [ -f "$unpack2/temp/course_description_file.cdf" ] || fail "copy 2 did not unpack a folder of its own"
[ "$(cd "$unpack1/temp" && sha256sum -- * | sort; stat -c '%n %Y' -- * | sort)" = "$sums1" ] ||
  fail "copy 1's unpacked files changed while copy 2 ran"

# A putt in copy 1: "Putt", then a click beside the ball.
click "$first" 545 30
click "$first" 325 250
sleep 3
shot package_copy1_putted
click "$first" 300 380                          # the score card's "OK", if it holed out
sleep 1
leave "$second"
leave "$first"
for pid in "${pids[@]}"; do
  wait "$pid" || fail "a copy of the game ended with status $? (logs in $artifacts)"
done
pids=()
shot package_after_exit
[ -z "$(ls -A "$runtime")" ] || fail "unpack folders left behind after the exit question: $(ls -A "$runtime")"

# A session's end (SIGTERM) also takes the exit path and removes the unpack folder.
run_game third /usr/share/games/minigolf/courses/beginners.cor
# The other copies are gone, and the X server may give their window ids out again.
third="$(wait_window "No File Loaded." "")" || fail "copy 3 showed no window: $(cat "$artifacts/third.log")"
sleep 1
click "$third" 240 280                          # "Yes": the round the others left is dropped
sit_down "$third" Cy
title_is "$third" beginners.cor
[ -n "$(ls -A "$runtime")" ] || fail "copy 3 unpacked nothing"
kill -TERM "$(pgrep -g "${pids[0]}" -x minigolf)"
wait "${pids[0]}" || fail "copy 3 ended with status $? after SIGTERM"
pids=()
cp "$traces"/*.trace "$artifacts/"

step "checking what the game wrote"
[ -f "$home/.config/minigolf/Config.glf" ] || fail "no settings in $home/.config/minigolf"
[ "$(stat -c %a "$home/.config/minigolf")" = 700 ] || fail "the settings folder is not private"
[ -z "$(ls -A "$runtime")" ] || fail "unpack folders left behind: $(ls -A "$runtime")"
# Every successful call that writes, makes, renames or removes a path, as "call path".
writes() {
  grep -v ' = -1 ' "$1" |
    grep -E '^[0-9]+ +(open|openat|creat|mkdir|mkdirat|rename|renameat2?|unlink|unlinkat|rmdir|link|linkat|symlink|symlinkat|chmod|fchmodat|truncate|utimensat)\(' |
    grep -Ev '^[0-9]+ +open(at)?\(.*O_RDONLY' |
    grep -Eo '"[^"]*"' | tr -d '"' | sort -u
}
for name in first second third; do
  while read -r path; do
    case "$path" in
      "$home"/.config/minigolf|"$home"/.config/minigolf/*) ;;
      "$home"/.local/share/minigolf|"$home"/.local/share/minigolf/*) ;;
      "$home"/.config|"$home"/.local|"$home"/.local/share) ;;
      "$home"/.cache/*) ;;
      "$runtime"/minigolf-*) ;;
      /dev/*) ;;
      "") ;;
      *) fail "copy '$name' wrote $path (see $artifacts/$name.trace)" ;;
    esac
  done < <(writes "$traces/$name.trace")
done
# Copy 2's start looks at copy 1's folder and tries its lock, which copy 1 holds, so the
# folder is left alone; anything more is a fault.
if grep -F "$unpack1" "$traces/second.trace" |
   grep -Ev "(stat|statx|newfstatat)\(.*\"$unpack1\"|open(at)?\(.*\"$unpack1/owner\.lock\", O_RDONLY"; then
  fail "copy 2 touched copy 1's unpack folder"
fi
echo "packaging test passed"
