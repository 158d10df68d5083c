#!/bin/sh
# pdftotext for the GUI tests under Wine (scripts/test-windows.sh puts it on
# their PATH as pdftotext.exe; Wine runs it as the Linux script it is): the
# tests name their files by Windows paths, Z:\... for the Linux ones.
for a in "$@"; do
  case $a in
    [Zz]:[\\/]*) a=$(printf '%s' "${a#??}" | tr '\\' '/') ;;
  esac
  set -- "$@" "$a"
  shift
done
exec /usr/bin/pdftotext "$@"
