#!/usr/bin/env bash
# tools/make-signing-identity against a stand-in `security` that records its calls: a
# certificate of the same name left by an earlier run is deleted with its key before the new
# one is imported, and an identity that is already valid is left alone.
# usage: make_signing_identity_test.sh PATH/TO/tools/make-signing-identity
set -euo pipefail
script=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
printf '#!/bin/sh\necho Darwin\n' > "$work/bin/uname"
# The login keychain as `security` shows it: VALID says whether a valid identity exists from the
# start, LEFTOVERS holds the SHA-1 hashes of certificates of the name; once trusted, it is valid.
cat > "$work/bin/security" <<'SH'
#!/bin/sh
echo "$*" >> "$CALLS"
case "$1" in
  find-identity)
    if [ "$VALID" = yes ] || grep -q '^add-trusted-cert' "$CALLS"; then
      printf '  1) 0123456789ABCDEF0123456789ABCDEF01234567 "Wheelright Development"\n%s\n' \
        '     1 valid identities found'
    else
      echo '     0 valid identities found'
    fi ;;
  find-certificate)
    for hash in $LEFTOVERS; do
      printf 'SHA-256 hash: %s%s\nSHA-1 hash: %s\nkeychain: "login"\n' "$hash" "$hash" "$hash"
    done ;;
esac
SH
chmod +x "$work/bin/"*

failures=0
# name | valid identity at start | leftover hashes | expected calls, in order (one pattern a line)
while IFS='|' read -r name valid leftovers expected; do
  export CALLS="$work/calls" VALID=$valid LEFTOVERS=$leftovers
  : > "$CALLS"
  if ! out=$(HOME=$work PATH="$work/bin:$PATH" "$script" 2>&1); then
    echo "FAIL $name: exit status not 0"; echo "$out"; failures=$((failures + 1)); continue
  fi
  actual=$(grep -oE '^(delete-identity -Z [A-F0-9]+|import|add-trusted-cert)' "$CALLS" | paste -sd, - || true)
  if [ "$actual" != "$expected" ]; then
    echo "FAIL $name: calls [$actual], want [$expected]"; failures=$((failures + 1))
  fi
  said=$(grep -c 'removing a leftover' <<< "$out" || true)
  if [ "$said" -ne "$(($(grep -o 'delete-identity' <<< "$expected" | wc -l)))" ]; then
    echo "FAIL $name: said $said removals, leftovers [$leftovers]"; failures=$((failures + 1))
  fi
done <<'ROWS'
fresh keychain|no||import,add-trusted-cert
one leftover|no|AAAA1111|delete-identity -Z AAAA1111,import,add-trusted-cert
two leftovers|no|AAAA1111 BBBB2222|delete-identity -Z AAAA1111,delete-identity -Z BBBB2222,import,add-trusted-cert
already valid|yes|AAAA1111|
ROWS
[ "$failures" = 0 ] && echo "all rows pass"
exit "$failures"
