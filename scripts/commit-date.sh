#!/bin/sh
# Runs a command (the link of mizona.exe) with SOURCE_DATE_EPOCH set to the
# last commit's date, unless it is set already, so that the linker stamps
# the exe with that date rather than the clock: two builds of one commit
# give the same bytes.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$(dirname "$0")" log -1 --format=%ct 2>/dev/null) || SOURCE_DATE_EPOCH=
  [ -n "$SOURCE_DATE_EPOCH" ] || SOURCE_DATE_EPOCH=0
  export SOURCE_DATE_EPOCH
fi
exec "$@"
