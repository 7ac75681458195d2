#!/usr/bin/env bash
# tools/notarize against a stand-in notarytool: each row is what the service answers and how
# notarytool exits; the script must exit as the verdict says and print the submission's log
# whenever a submission exists.
# usage: notarize_test.sh PATH/TO/tools/notarize
set -euo pipefail
notarize=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"

# uname, xcrun and plutil as a Mac has them, as far as the script uses them.
printf '#!/bin/sh\necho Darwin\n' > "$work/bin/uname"
cat > "$work/bin/xcrun" <<'SH'
#!/bin/sh
case "$2" in
  submit) printf '%s' "$SUBMIT_OUTPUT"; exit "$SUBMIT_STATUS" ;;
  log) [ "$LOG_READY" = yes ] || { echo "log not ready" >&2; exit 1; }; echo "LOG OF $3" ;;
esac
SH
cat > "$work/bin/plutil" <<'SH'
#!/bin/sh
# plutil -extract KEY raw -o - FILE, for the one-line JSON objects of these rows.
value=$(sed -n "s/.*\"$2\": *\"\([^\"]*\)\".*/\1/p" "$6")
[ -n "$value" ] || exit 1
printf '%s\n' "$value"
SH
chmod +x "$work/bin/"*

failures=0
# name | notarytool's output | its exit status | log ready | expected exit | expected log
while IFS='|' read -r name output submit_status log_ready expected_exit expected_log; do
  set +e
  out=$(PATH="$work/bin:$PATH" SUBMIT_OUTPUT=$output SUBMIT_STATUS=$submit_status \
        LOG_READY=$log_ready "$notarize" "$work/app.zip" key.p8 KEYID ISSUER 2>&1)
  status=$?
  set -e
  printed=no
  if grep -q "LOG OF sub-1" <<< "$out"; then printed=yes; fi
  if [ "$status" != "$expected_exit" ] || [ "$printed" != "$expected_log" ]; then
    echo "FAIL $name: exit $status (want $expected_exit), log printed $printed (want $expected_log)"
    while IFS= read -r line; do echo "    $line"; done <<< "$out"
    failures=$((failures + 1))
  fi
done <<'ROWS'
accepted|{"id": "sub-1", "status": "Accepted"}|0|yes|0|yes
rejected|{"id": "sub-1", "status": "Invalid"}|0|yes|1|yes
notarytool fails after a verdict|{"id": "sub-1", "status": "Invalid"}|1|yes|1|yes
wait runs out|{"id": "sub-1", "status": "In Progress"}|1|no|1|no
accepted, notarytool fails|{"id": "sub-1", "status": "Accepted"}|1|yes|1|yes
no submission|{"message": "network unreachable"}|1|no|1|no
ROWS
[ "$failures" = 0 ] && echo "all rows pass"
exit "$failures"
