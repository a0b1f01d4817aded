#!/usr/bin/env bash
# Plays the Windows package under wine in Xvfb, as a player would:
#   play-windows.sh <package zip> <wine prefix> [screenshot folder]
# Unpacks the zip into an empty folder, starts tomato.exe with OpenAL's
# wave output recording what is heard, waits for the title screen (kept as
# a screenshot), presses P, fires with one quick click, presses Q, and checks
# that the game exits with 0, its log ends with the stop banner and the
# recording is not silent. Bounded in time: every wait has a limit.
set -euo pipefail
zip="$(realpath "$1")"
wine_prefix="$2"
shots="${3:-}"
here="$(cd "$(dirname "$0")" && pwd)"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$0" "$@"
fi

run="$(mktemp -d)"
trap 'rm -rf "$run"' EXIT
unzip -q "$zip" -d "$run"
cd "$run/tomato"
log="$PWD/corvane.log"
# More of the log for the checks below, and the same enemies every time.
sed -i -e 's/^log_level:.*/log_level:5,/' -e 's/^random_seed:.*/random_seed:3,/' cv-config.txt
heard_windows="$(WINEPREFIX="$wine_prefix" WINEDEBUG=-all winepath -w "$PWD/heard.wav" 2> /dev/null)"
printf '[general]\nsample-type = int16\n[wave]\nfile = %s\n' "$heard_windows" > alsoft.ini

fail() {
  echo "play-windows: FAILED: $*" >&2
  [ -f "$log" ] && tail -n 20 "$log" >&2
  exit 1
}
logged() { grep -qF -- "$1" "$log" 2> /dev/null; }
# Waits up to $1 seconds for the command after it to succeed.
wait_for() {
  local limit=$(($1 * 10))
  shift
  for ((i = 0; i < limit; i++)); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

started=$SECONDS
ALSOFT_DRIVERS=wave ALSOFT_CONF="$(WINEPREFIX="$wine_prefix" WINEDEBUG=-all winepath -w "$PWD/alsoft.ini" 2> /dev/null)" \
  "$here/wine-run.sh" "$wine_prefix" "$PWD" ./tomato.exe > wine-output.txt 2>&1 &
game=$!
trap 'kill $game 2> /dev/null || true; WINEPREFIX="$wine_prefix" wineserver -k 2> /dev/null || true; rm -rf "$run"' EXIT

window="$(timeout 60 xdotool search --sync --name '^Corvane$' | head -n 1)" || fail "no window named Corvane"
echo "play-windows: window up after $((SECONDS - started)) s"
wait_for 30 logged "GameManager::run(): starting game loop" || fail "the game loop did not start"
sleep 1  # the title picture is drawn
if [ -n "$shots" ]; then
  mkdir -p "$shots"
  xwd -silent -id "$window" > "$shots/windows-title.xwd"
  command -v convert > /dev/null && convert "xwd:$shots/windows-title.xwd" "$shots/windows-title.png" && rm "$shots/windows-title.xwd"
fi
red="$(xwd -silent -id "$window" | python3 "$here/count-red.py")"
[ "$red" -gt 20000 ] || fail "the title picture is not on the screen ($red red pixels)"
echo "play-windows: title screen shows $red red pixels"

timeout 10 xdotool windowfocus --sync "$window" || fail "cannot focus the window"
timeout 10 xdotool key p
wait_for 20 logged "Collision box size: 1.000000" || fail "P did not start a game"
echo "play-windows: P started a game"
timeout 10 xdotool mousemove --window "$window" 128 720
# One quick click, as a player's: it fires (the hero's first shot is ready
# half a second into the game).
sleep 1
timeout 10 xdotool click 1
wait_for 10 logged "ResourceManager::getSound(): Looking for sound 'fire'." || fail "a click did not fire"
echo "play-windows: a click fired"
sleep 1  # the shot's sound plays out

timeout 10 xdotool key q
wait_for 20 bash -c "! kill -0 $game 2> /dev/null" || fail "Q did not end the game"
status=0
wait "$game" || status=$?
[ "$status" -eq 0 ] || fail "tomato.exe exited with $status"
# At level 5 the log manager's own farewell follows the banner.
last="$(tr -d '\r' < "$log" | grep -vF 'LogManager::shutDown(): successfully stopped.' | tail -n 1)"
[[ "$last" == *"** Game engine stopped **" ]] || fail "the log ends with: $last"
echo "play-windows: Q ended the game with status 0; the log ends with the stop banner"
loud="$(python3 "$here/count-loud.py" heard.wav)"
[ "$loud" -gt 100 ] || fail "the wave output's recording is silent ($loud loud samples)"
echo "play-windows: the recording holds $loud loud samples; played in $((SECONDS - started)) s"
