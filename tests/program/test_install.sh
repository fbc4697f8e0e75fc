#!/usr/bin/env bash
# Installs the build into a scratch prefix and uses the installed copy as a
# user would, with no display: the help, the version, a report, and the
# advice when its database is missing.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/tilewright bin/tilewright-solve share/tilewright/Solutions.mdb \
         share/applications/tilewright.desktop share/icons/hicolor/scalable/apps/tilewright.svg \
         share/man/man1/tilewright.1.gz; do
    [ -f "$prefix/$f" ] || fail "$f is not installed"
done
grep -q '^Categories=Game;LogicGame;' "$prefix/share/applications/tilewright.desktop" ||
    fail "the desktop entry has no categories"

run() { env -u DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/tilewright" "$@"; }
# The README's command-line reference is the help, word for word.
diff <(run --help) <(awk '/^```text$/{f=1;next} /^```$/{if(f){exit}} f' "$(dirname "$0")/../../README.md") ||
    fail "the README's command line differs from --help"
[ "$(run --version)" = "tilewright $(sed -n 's/^project(Tilewright VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")" ] ||
    fail "--version says $(run --version)"
run --report "10 x 6" 1 20 --pdf "$prefix/sheet.pdf" | grep -q '(1 page)' || fail "--report"
head -c 5 "$prefix/sheet.pdf" | grep -q '%PDF-' || fail "the report is no PDF"

# Without its database, the installed copy says where it looked and how to
# write it there.
rm "$prefix/share/tilewright/Solutions.mdb"
if message=$(run --report 0 1 1 --pdf "$prefix/x.pdf" 2>&1); then fail "ran without a database"; fi
echo "$message" | grep -q "looked for \"$prefix/bin/Solutions.mdb\" and \"$prefix/share/tilewright/Solutions.mdb\"" ||
    fail "the places looked at: $message"
echo "$message" | grep -q "\"$prefix/bin/tilewright-solve\" \"$prefix/share/tilewright/Solutions.mdb\"" ||
    fail "the command that writes it: $message"
"$prefix/bin/tilewright-solve" "$prefix/share/tilewright/Solutions.mdb" >/dev/null
run --report 8x8 1 1 --pdf "$prefix/x.pdf" >/dev/null || fail "the database written as advised"
echo "installed and used from $prefix"
