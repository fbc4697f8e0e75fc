#!/usr/bin/env bash
# Installs the build into a scratch prefix and uses the installed copy as a
# user would, with no display: the help, the version, a report, and the
# advice when its database is missing.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

tools=$(dirname "$0")/../../tools
export TILEWRIGHT_INSTALL_LIST=$prefix/installed-files.txt
"$tools/install.sh" install "$build" "$prefix" >/dev/null
for f in bin/tilewright bin/tilewright-solve share/tilewright/Solutions.mdb \
         share/applications/tilewright.desktop share/icons/hicolor/scalable/apps/tilewright.svg \
         share/man/man1/tilewright.1.gz share/man/man1/tilewright-solve.1.gz \
         share/doc/tilewright/copyright share/doc/tilewright/changelog.gz \
         share/metainfo/io.github.tilewright.Tilewright.metainfo.xml; do
    [ -f "$prefix/$f" ] || fail "$f is not installed"
done
grep -q '^Categories=Game;LogicGame;' "$prefix/share/applications/tilewright.desktop" ||
    fail "the desktop entry has no categories"

# What software centres and Debian's own checks read, where those checks
# are installed; they cannot reach the network here.
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$prefix/share/metainfo/io.github.tilewright.Tilewright.metainfo.xml" \
        >/dev/null || fail "appstreamcli: $(appstreamcli validate --no-net "$prefix"/share/metainfo/*.xml)"
fi
if command -v lintian >/dev/null && command -v cpack >/dev/null; then
    packages=$(mktemp -d)
    cpack -G DEB --config "$build/CPackConfig.cmake" -B "$packages" >/dev/null 2>&1 ||
        fail "the package could not be made"
    tags=$(lintian --tag-display-limit 0 "$packages"/tilewright_*.deb 2>&1 | grep -v 'root privileges' || true)
    rm -rf "$packages"
    [ -z "$tags" ] || fail "lintian: $tags"
fi

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

# A database the user may not read is said to be unreadable, not missing.
chmod 755 "$prefix"
chmod 000 "$prefix/share/tilewright"
as_user=()
[ "$(id -u)" -ne 0 ] || as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
message=$("${as_user[@]}" env -u DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/tilewright" --grid 0 1 2>&1) &&
    fail "read a database it may not read"
echo "$message" | grep -q "\"$prefix/share/tilewright/Solutions.mdb\" cannot be read: permission denied" ||
    fail "an unreadable database: $message"
chmod 755 "$prefix/share/tilewright"

# Uninstalling removes what was installed, even after something else (make
# package) wrote CMake's own list of installed files, and never a file that
# a package owns.
echo /usr/bin/tilewright > "$build/install_manifest.txt"
fake=$(mktemp -d)
printf '#!/bin/sh\n[ "$2" = "%s" ]\n' "$prefix/share/applications/tilewright.desktop" > "$fake/dpkg-query"
chmod +x "$fake/dpkg-query"
PATH="$fake:$PATH" "$tools/install.sh" uninstall "$build" | grep -q "kept 1 that packages own" ||
    fail "uninstall said otherwise"
rm -rf "$fake"
[ -f "$prefix/share/applications/tilewright.desktop" ] || fail "uninstall removed a package's file"
for f in bin/tilewright bin/tilewright-solve share/tilewright/Solutions.mdb share/man/man1/tilewright.1.gz; do
    [ ! -e "$prefix/$f" ] || fail "uninstall left $f"
done
[ ! -e "$TILEWRIGHT_INSTALL_LIST" ] || fail "uninstall left its list"
echo "installed and used from $prefix"
