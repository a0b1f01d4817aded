#!/usr/bin/env bash
# The engine as a whole Windows process, under wine: how it ends when asked
# to stop and when it dies. Wine turns SIGINT sent to the program into the
# console's Ctrl-C event, as pressing Ctrl-C in a Windows console does.
#   engine_process_windows.sh <corvane_engine_main.exe> <emulator command...>
set -uo pipefail
program="$1"
shift
run=("$@")
export ALSOFT_DRIVERS=null
failures=0
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"

fail() {
  echo "FAIL $case: $*"
  [ -f corvane.log ] && sed 's/^/  log: /' corvane.log
  failures=$((failures + 1))
}

# The log's messages (after the time and step columns) from the first line
# holding $1 on.
messages_from() { tr -d '\r' < corvane.log | cut -c15- | sed -n "/$1/,\$p"; }

# Ctrl-C: the game ends its loop, every manager stops, and the status is 0.
case=ctrl-c
printf 'headless:true,\n' > cv-config.txt
rm -f corvane.log
"${run[@]}" "$program" > output.txt 2>&1 &
game=$!
for _ in $(seq 300); do
  grep -q "starting game loop" corvane.log 2> /dev/null && break
  sleep 0.1
done
kill -INT "$game"
status=0
wait "$game" || status=$?
[ "$status" -eq 0 ] || fail "exit status $status"
[ "$(messages_from 'Caught SIGINT' | head -n 1)" = "GameManager::run(): Caught SIGINT, ending the game." ] ||
  fail "no line says the game caught Ctrl-C"
[ "$(messages_from 'Caught SIGINT' | tail -n 1)" = "** Game engine stopped **" ] || fail "the log does not end with the stop banner"

# A fatal error: the levelled lines still in the log's buffer are written,
# then a line naming the error, and the program ends with a failure status.
printf 'headless:true,log_level:1,\n' > cv-config.txt
for how in null-write abort SIGSEGV SIGABRT SIGFPE SIGILL; do
  case=$how
  case $how in
    null-write | SIGSEGV) text="SIGSEGV (invalid memory access)" ;;
    abort | SIGABRT) text="SIGABRT (abort)" ;;
    SIGFPE) text="SIGFPE (arithmetic error)" ;;
    SIGILL) text="SIGILL (illegal instruction)" ;;
  esac
  rm -f corvane.log
  status=0
  timeout 60 "${run[@]}" "$program" --keep-buffer --fatal "$how" > output.txt 2>&1 || status=$?
  [ "$status" -ne 0 ] && [ "$status" -ne 124 ] || fail "exit status $status"
  expected="GameManager::run(): starting game loop
FatalAfterSteps: step 0
FatalAfterSteps: step 1
LogManager::writeOnFatalSignal(): Error! Caught fatal signal $text, the program ends."
  [ "$(messages_from 'starting game loop')" = "$expected" ] || fail "the log from the game loop on is not as expected"
done

[ "$failures" -eq 0 ] && echo "engine process under wine: Ctrl-C and 6 fatal errors as expected"
exit $((failures > 0))
