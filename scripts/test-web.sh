#!/usr/bin/env bash
# End-to-end test of the browser page: builds the WebAssembly engine and the page, runs the
# pipe example with the native command line for reference, and drives Debian's chromium
# headless through the page (web/test/e2e.test.mjs). Needs the plain build in build/.
# Prints "N passed, N failed" and exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/build-web.sh

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp examples/pipe_pile.inp "$work/"
./build/zarno "$work/pipe_pile.inp" --json "$work/pipe_pile.json" >/dev/null

export ZARNO_SITE="$root/build-web/site" ZARNO_PIPE_JSON="$work/pipe_pile.json"
status=0
(cd web && node --test --test-reporter=tap test/e2e.test.mjs) >"$work/tap.txt" 2>&1 || status=$?
cat "$work/tap.txt"
passed=$(sed -n 's/^# pass \([0-9]*\)$/\1/p' "$work/tap.txt" | tail -1)
failed=$(sed -n 's/^# fail \([0-9]*\)$/\1/p' "$work/tap.txt" | tail -1)
passed=${passed:-0}
failed=${failed:-0}
if [ "$status" -ne 0 ] && [ "$failed" -eq 0 ]; then failed=1; fi
if [ "$passed" -eq 0 ]; then status=1; fi
echo "$passed passed, $failed failed"
exit $((status != 0 || failed != 0))
