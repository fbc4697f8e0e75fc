#!/usr/bin/env bash
# make install and make uninstall.
#
#   tools/install.sh install BUILD PREFIX   installs the build into PREFIX
#   tools/install.sh uninstall BUILD        removes what install put anywhere
#
# Every file installed is added to BUILD/installed-files.txt, a list of the
# program's own: CMake's install_manifest.txt is written over by anything
# that installs from the same build (make package among them). Uninstalling
# removes the files on that list, never one that the package manager owns
# (a package installed over the same paths keeps its files), and then the
# list itself.
set -euo pipefail
action=${1:?install or uninstall}
build=${2:?the build folder}
list=${TILEWRIGHT_INSTALL_LIST:-$build/installed-files.txt}

case "$action" in
install)
    prefix=${3:?the prefix}
    cmake --install "$build" --prefix "$prefix" --strip
    { [ -f "$list" ] && cat "$list"; cat "$build/install_manifest.txt"; echo; } |
        sed '/^$/d' | sort -u > "$list.new"
    mv "$list.new" "$list"
    ;;
uninstall)
    if [ ! -f "$list" ]; then
        echo "Nothing to remove: $list lists no installed files."
        exit 0
    fi
    removed=0 kept=0
    while IFS= read -r file; do
        [ -n "$file" ] || continue
        if command -v dpkg-query >/dev/null 2>&1 && dpkg-query -S "$file" >/dev/null 2>&1; then
            echo "kept $file: it belongs to an installed package"
            kept=$((kept + 1))
        elif [ -e "$file" ] || [ -L "$file" ]; then
            rm -f -- "$file"
            removed=$((removed + 1))
        fi
    done < "$list"
    rm -f -- "$list"
    echo "removed $removed installed files$([ "$kept" -eq 0 ] || echo ", kept $kept that packages own")"
    ;;
*)
    echo "usage: tools/install.sh install BUILD PREFIX | uninstall BUILD" >&2
    exit 2
    ;;
esac
