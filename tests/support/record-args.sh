#!/bin/sh
# Test helper standing in for a browser, editor or spreadsheet program: writes
# its own path and every argument it received, each followed by a NUL byte, to
# the file named by KAZUBAN_RECORD_FILE. The file appears whole (renamed into
# place), so a test may wait for it.
out=${KAZUBAN_RECORD_FILE:?KAZUBAN_RECORD_FILE is not set}
printf '%s\0' "$0" "$@" > "$out.part" && mv -f "$out.part" "$out"
