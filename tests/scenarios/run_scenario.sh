#!/bin/sh
# Plays console transcripts through the wheelright program with --echo, input piped, with a config
# folder of its own, and compares standard output, standard error and the exit status with the
# expected ones (a diff when they differ). For a transcript NAME:
#   NAME.in        the input                     NAME.out   the expected standard output
#   NAME.err       expected standard error (none: empty)
#   NAME.status    expected exit status (none: 0)
#   NAME.args      start options, e.g. --desktop trust=on
#   NAME.defaults  the settings file written into the config folder before the run
# Several names share that folder, in order: one user's runs of the program one after another.
#   run_scenario.sh PROGRAM DIR NAME...      each NAME as above
# With WHEELRIGHT_UPDATE_TRANSCRIPTS=1 the outputs are written as the expected ones instead of
# compared (an empty standard error and status 0 as no file); review them with git diff.
set -u
program=$1
dir=$2
shift 2
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT

play() {  # name, output file prefix, config folder
  if [ -f "$dir/$1.defaults" ]; then
    mkdir -p "$3/wheelright" && cp "$dir/$1.defaults" "$3/wheelright/defaults.txt" || return 1
  fi
  args=
  [ -f "$dir/$1.args" ] && args=$(cat "$dir/$1.args")
  # shellcheck disable=SC2086 # the start options are words
  XDG_CONFIG_HOME="$3" "$program" --echo $args <"$dir/$1.in" >"$2.out" 2>"$2.err"
  echo "$?" >"$2.status"
}

expected() {  # name, suffix, default content
  if [ -f "$dir/$1.$2" ]; then cat "$dir/$1.$2"; else printf '%s' "$3"; fi
}

status=0
for name in "$@"; do
  play "$name" "$work/$name" "$work/config" || status=1
  if [ "${WHEELRIGHT_UPDATE_TRANSCRIPTS:-}" = 1 ]; then
    cp "$work/$name.out" "$dir/$name.out" || status=1
    rm -f "$dir/$name.err" "$dir/$name.status"
    [ -s "$work/$name.err" ] && cp "$work/$name.err" "$dir/$name.err"
    [ "$(cat "$work/$name.status")" = 0 ] || cp "$work/$name.status" "$dir/$name.status"
    continue
  fi
  diff -u "$dir/$name.out" "$work/$name.out" || status=1
  expected "$name" err "" | diff -u - "$work/$name.err" || status=1
  expected "$name" status "0
" | diff -u - "$work/$name.status" || { echo "$name: exit status"; status=1; }
done
exit $status
