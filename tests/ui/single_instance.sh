#!/usr/bin/env bash
# One instance at a time: a second start exits at once with status 1; after a crash (kill -9) the
# program starts again.
set -u
program=$1
export QT_QPA_PLATFORM=offscreen
export HOME=$(mktemp -d)
export TMPDIR=$HOME
trap 'kill -9 $first $third 2>/dev/null; rm -rf "$HOME"' EXIT

"$program" --screenshots "$HOME/shots" >/dev/null 2>&1 &
first=$!
sleep 2
said=$(timeout 10 "$program" --screenshots "$HOME/shots2" 2>&1 >/dev/null)
status=$?
[ $status -eq 1 ] || { echo "second start exited with $status, wanted 1"; exit 1; }
[ -z "$said" ] || { echo "second start was not silent: $said"; exit 1; }
kill -0 $first 2>/dev/null || { echo "the first instance did not survive the second start"; exit 1; }

kill -9 $first
wait $first 2>/dev/null
"$program" --screenshots "$HOME/shots3" >/dev/null 2>&1 &
third=$!
sleep 2
kill -0 $third 2>/dev/null || { echo "the program did not start again after a crash"; exit 1; }

# A lock that cannot be created is no other instance: the program says what failed.
# (/proc takes no new files, not even from root.)
said=$(TMPDIR=/proc timeout 10 "$program" --screenshots "$HOME/shots4" 2>&1 >/dev/null)
status=$?
[ $status -eq 1 ] || { echo "start without a writable lock exited with $status, wanted 1"; exit 1; }
case $said in *"lock file"*) ;; *) echo "start without a writable lock said: '$said'"; exit 1 ;; esac
echo "single instance: ok"
