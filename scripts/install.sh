#!/usr/bin/env bash
# Builds Trevano and installs it for you alone (~/.local) or under the prefix given; or removes
# what such an install put there.
#   scripts/install.sh [PREFIX]               e.g. scripts/install.sh /usr/local
#   scripts/install.sh --uninstall [PREFIX]
# A prefix you cannot write to is written through sudo. The settings file is yours and stays.
set -euo pipefail
cd "$(dirname "$0")/.."

uninstall=0
if [[ "${1:-}" == --uninstall ]]; then
    uninstall=1
    shift
fi
if (($# > 1)); then
    echo "usage: $0 [--uninstall] [PREFIX]" >&2
    exit 2
fi
prefix=$(realpath -m "${1:-$HOME/.local}")
list="$prefix/lib/trevano/installed-files.txt"

# The nearest folder of the prefix that exists decides whether sudo is needed.
as_owner=()
existing=$prefix
while [[ ! -e "$existing" ]]; do
    existing=$(dirname "$existing")
done
if [[ ! -w "$existing" && $(id -u) -ne 0 ]]; then
    as_owner=(sudo)
fi

# Menus and "open with" lists read these caches where they exist; a missing icon cache is
# not created, since a stale one would hide icons that other programs install later.
refresh_desktop() {
    if command -v update-desktop-database >/dev/null && [[ -d "$prefix/share/applications" ]]; then
        "${as_owner[@]}" update-desktop-database -q "$prefix/share/applications" || true
    fi
    if command -v gtk-update-icon-cache >/dev/null &&
        [[ -f "$prefix/share/icons/hicolor/icon-theme.cache" ]]; then
        "${as_owner[@]}" gtk-update-icon-cache -q -t "$prefix/share/icons/hicolor" || true
    fi
}

if ((uninstall)); then
    if [[ ! -f "$list" ]]; then
        echo "No Trevano install under $prefix (no $list)." >&2
        exit 1
    fi
    # Only the names the install wrote, each under the prefix.
    while IFS= read -r name; do
        if [[ -n "$name" && "$name" != /* && "$name" != *..* ]]; then
            "${as_owner[@]}" rm -f -- "$prefix/$name"
        fi
    done <"$list"
    "${as_owner[@]}" rmdir --ignore-fail-on-non-empty "$prefix/lib/trevano"
    refresh_desktop
    echo "Trevano removed from $prefix."
    exit 0
fi

scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTREVANO_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)" --target trevano
"${as_owner[@]}" cmake --install build --prefix "$prefix"
refresh_desktop
echo "Trevano installed under $prefix: start it with $prefix/bin/trevano or from the menu."
if [[ ":$PATH:" != *":$prefix/bin:"* ]]; then
    echo "($prefix/bin is not on your PATH, so the bare command trevano is not found.)"
fi
