#!/usr/bin/env bash
# tools/make-appcast against a stand-in sign_update that signs only when it gets the key on
# standard input and nowhere else: each row is what it prints and how it exits; the script must
# exit as the row says, print an appcast only when it succeeds, and never show the key.
# usage: make_appcast_test.sh PATH/TO/tools/make-appcast
set -euo pipefail
make_appcast=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
cd "$work"
printf 'twelve bytes' > Wheelright-1.2.0.zip
key=$(printf 'k%.0s' {1..86})==
signature=$(printf 's%.0s' {1..86})==
cat > bin/sign_update <<'SH'
#!/bin/sh
read -r line
if [ "$line" != "$KEY" ] || [ "$*" != "-p --ed-key-file - Wheelright-1.2.0.zip" ]; then
  echo "ERROR! Signing key not found"; exit 1
fi
printf '%s\n' "$SIGN_OUTPUT"; exit "$SIGN_STATUS"
SH
chmod +x bin/sign_update

failures=0
# name | version | what sign_update prints (SIG, KEY: the signature, the key) | its exit status |
# expected exit
while IFS='|' read -r name version output sign_status expected_exit; do
  output=${output/SIG/$signature}
  set +e
  out=$(PATH="$work/bin:$PATH" KEY=$key SIGN_OUTPUT=${output/KEY/$key} SIGN_STATUS=$sign_status \
        "$make_appcast" Wheelright-1.2.0.zip "$version" 42 13.0 octo/wheel <<< "$key" 2> err)
  status=$?
  set -e
  problems=()
  [ "$status" = "$expected_exit" ] || problems+=("exit $status, want $expected_exit")
  ! grep -q "$key" err || problems+=("the key is shown")
  if [ "$expected_exit" = 0 ]; then
    for line in '<sparkle:version>42</sparkle:version>' '<sparkle:shortVersionString>1.2.0<' \
        '<sparkle:minimumSystemVersion>13.0.0<' \
        '<sparkle:releaseNotesLink>https://github.com/octo/wheel/releases/tag/v1.2.0<' \
        "<enclosure url=\"https://github.com/octo/wheel/releases/download/v1.2.0/Wheelright-1.2.0.zip\" sparkle:edSignature=\"$signature\" length=\"12\""; do
      grep -qF -- "$line" <<< "$out" || problems+=("no $line")
    done
  elif [ -n "$out" ]; then
    problems+=("printed an appcast")
  fi
  if [ ${#problems[@]} != 0 ]; then
    echo "FAIL $name: ${problems[*]}"
    sed 's/^/    /' err
    failures=$((failures + 1))
  fi
done <<'ROWS'
signed|1.2.0|SIG|0|0
sign_update fails, quoting the key|1.2.0|ERROR! Failed to decode base64 encoded key data from: KEY|1|1
sign_update prints no signature|1.2.0||0|1
sign_update fails after a signature|1.2.0|SIG|1|1
a version that is not three numbers|1.2.0"|SIG|0|2
ROWS
[ "$failures" = 0 ] && echo "all rows pass"
exit "$failures"
