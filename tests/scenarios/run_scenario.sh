#!/bin/sh
# Plays console transcripts through the wheelright program, input piped, with a config folder of
# its own, and compares what it prints with the expected output (a diff when they differ).
# Several names share that folder, in order: one user's runs of the program one after another.
#   run_scenario.sh PROGRAM DIR NAME...      NAME.in against NAME.out
#   run_scenario.sh --twice PROGRAM DIR NAME  two runs print the same
set -u
twice=false
if [ "$1" = "--twice" ]; then
  twice=true
  shift
fi
program=$1
dir=$2
shift 2
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT

play() {  # name, output file, config folder
  XDG_CONFIG_HOME="$3" "$program" <"$dir/$1.in" >"$2"
  code=$?
  if [ "$code" -ne 0 ]; then
    echo "$1: exit status $code"
    return 1
  fi
}

status=0
if $twice; then
  play "$1" "$work/first" "$work/config-first" || status=1
  play "$1" "$work/second" "$work/config-second" || status=1
  diff -u "$work/first" "$work/second" || status=1
  exit $status
fi
for name in "$@"; do
  play "$name" "$work/$name.actual" "$work/config" || status=1
  diff -u "$dir/$name.out" "$work/$name.actual" || status=1
done
exit $status
