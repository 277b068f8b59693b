#!/usr/bin/env bash
# Builds the Debian package from the build folder (as scripts/package.sh does, without building
# again) and checks what it would install: the files and nothing else, its dependencies, the
# desktop entry, the AppStream metainfo, the manual page, the program's version, and lintian's
# verdict.
#   build_package.sh BUILD_FOLDER VERSION OUTPUT
set -euo pipefail

build=$(realpath "$1")
version=$2
output=$(realpath -m "$3")
rm -rf "$output"
mkdir -p "$output"

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

(umask 022 && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$output/cpack" \
    >"$output/cpack.log") || fail "cpack: $(cat "$output/cpack.log")"
deb=$output/cpack/trevano_${version}_$(dpkg --print-architecture).deb
[[ -f "$deb" ]] || fail "no $deb: $(ls "$output/cpack")"

check_contents() {
    dpkg-deb -c "$deb" | awk '{ print $1, $2, $6 }' | sed 's|^\(.*\) \./|\1 /|' |
        sort -k3 >"$output/contents.txt"
    local files
    files=$(awk '$1 !~ /^d/ { print $3 }' "$output/contents.txt")
    [[ "$files" == "/usr/bin/trevano
/usr/lib/trevano/Fond_aide.bmp
/usr/lib/trevano/jpegtran
/usr/lib/trevano/trevano
/usr/share/applications/trevano.desktop
/usr/share/doc/trevano/changelog.gz
/usr/share/doc/trevano/copyright
/usr/share/icons/hicolor/128x128/apps/trevano.png
/usr/share/icons/hicolor/256x256/apps/trevano.png
/usr/share/icons/hicolor/32x32/apps/trevano.png
/usr/share/icons/hicolor/64x64/apps/trevano.png
/usr/share/man/man1/trevano.1.gz
/usr/share/metainfo/org.trevano.Trevano.metainfo.xml" ]] || fail "the package holds: $files"
    grep -q '^lrwxrwxrwx root/root /usr/bin/trevano$' "$output/contents.txt" ||
        fail "/usr/bin/trevano is not root's link"
    ! grep -v ' root/root ' "$output/contents.txt" || fail "files not owned by root"
    # No maintainer scripts: nothing is made at install time that removing would leave behind.
    [[ "$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | sort | tr '\n' ' ')" == "./control ./md5sums " ]] ||
        fail "control members: $(dpkg-deb --ctrl-tarfile "$deb" | tar -t)"
}

check_control() {
    local field
    [[ "$(dpkg-deb -f "$deb" Package Version Section)" == "Package: trevano
Version: $version
Section: graphics" ]] || fail "control: $(dpkg-deb -f "$deb")"
    # The Qt and JPEG libraries as dpkg-shlibdeps found them, the rotation tool's among them.
    field=$(dpkg-deb -f "$deb" Depends)
    local needed
    for needed in libqt6widgets6 libqt6gui6 libqt6core6 libjpeg62-turbo libturbojpeg0 \
        libasound2 libc6; do
        [[ ", $field," == *", $needed "* || ", $field," == *", $needed,"* ]] ||
            fail "Depends lacks $needed: $field"
    done
}

check_installed_files() {
    local root=$output/root
    dpkg-deb -x "$deb" "$root"
    local entry=$root/usr/share/applications/trevano.desktop
    desktop-file-validate "$entry" || fail "the desktop entry does not validate"
    grep -qx 'Exec="/usr/bin/trevano" %f' "$entry" || fail "entry: $(grep Exec "$entry")"
    local metainfo=$root/usr/share/metainfo/org.trevano.Trevano.metainfo.xml
    appstreamcli validate --no-net "$metainfo" >"$output/appstream.log" 2>&1 ||
        fail "the metainfo does not validate: $(cat "$output/appstream.log")"
    grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo has another release"
    grep -q '<summary xml:lang="fr">' "$metainfo" || fail "no French summary"
    # groff's warnings go to the error stream.
    MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/trevano.1.gz" \
        >"$output/man.txt" 2>"$output/man-warnings.txt" || fail "man -l failed"
    [[ ! -s "$output/man-warnings.txt" ]] || fail "man: $(cat "$output/man-warnings.txt")"
    grep -q "Trevano $version" "$output/man.txt" || fail "the manual page has another version"
    grep -q '/usr/lib/trevano/' "$output/man.txt" || fail "the manual page names another folder"
    [[ "$("$root/usr/bin/trevano" --version)" == "Trevano $version" ]] ||
        fail "the packaged program says it is $("$root/usr/bin/trevano" --version)"
}

check_lintian() {
    # Lintian's warnings and notes are worth reading; an error fails the test.
    lintian --fail-on error --allow-root "$deb" >"$output/lintian.txt" 2>&1 ||
        fail "lintian: $(cat "$output/lintian.txt")"
}

check_contents
check_control
check_installed_files
check_lintian
echo "package $deb checked; lintian said: $(wc -l <"$output/lintian.txt") lines"
