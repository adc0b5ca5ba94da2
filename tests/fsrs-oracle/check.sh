#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Reruns the fixed histories through ts-fsrs and compares with the committed
# expected outputs, which the scheduler's unit test reads. Skipped (77)
# where node or the package is absent; scripts/setup installs both.
here=$(dirname "$0")
if ! command -v node >/dev/null 2>&1; then
  echo "skipped: node is not installed"
  exit 77
fi
major=$(node -e 'console.log(process.versions.node.split(".")[0])')
if [ "$major" -lt 20 ]; then
  echo "skipped: ts-fsrs needs node 20 or later, this is node $major"
  exit 77
fi
if [ ! -f "$here/node_modules/ts-fsrs/package.json" ]; then
  echo "skipped: ts-fsrs is not installed in $here (scripts/setup installs it)"
  exit 77
fi
out=$(mktemp)
trap 'rm -f "$out"' EXIT
node "$here/oracle.mjs" "$here/histories.txt" >"$out" || exit 1
diff -u "$here/expected.tsv" "$out"
