#!/usr/bin/env bash
# What a user gets from `cmake --install` and from the .deb: installs the
# build into a temporary DESTDIR and checks the layout, the desktop entry, the
# file type, the AppStream metadata, the manual pages against --help, the
# completion, the installed programs, and the package built by CPack.
# Usage: check-install.sh BUILD_DIR
set -uo pipefail
build=$(cd "${1:?usage: check-install.sh BUILD_DIR}" && pwd)
src=$(cd "$(dirname "$0")/../.." && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dest=$work/root
bin=$dest/usr/bin
id=org.kelmaron.Brevix
passed=0
failed=0

check() {
    local name=$1
    shift
    local out
    if out=$("$@" 2>&1); then
        passed=$((passed + 1))
    else
        printf 'FAILED: %s\n%s\n' "$name" "$out"
        failed=$((failed + 1))
    fi
}

expected_files() {
    printf '%s\n' \
        usr/bin/brevix \
        usr/bin/brevix-dump \
        usr/share/applications/$id.desktop \
        usr/share/bash-completion/completions/brevix-dump \
        usr/share/brevix/brevix-dump.schema.json \
        usr/share/doc/brevix/copyright \
        usr/share/icons/hicolor/256x256/apps/$id.png \
        usr/share/icons/hicolor/48x48/apps/$id.png \
        usr/share/icons/hicolor/scalable/apps/$id.svg \
        usr/share/man/man1/brevix-dump.1.gz \
        usr/share/man/man1/brevix.1.gz \
        usr/share/metainfo/$id.metainfo.xml \
        usr/share/mime/packages/$id.xml
}

layout() {
    diff <(expected_files) <(cd "$dest" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
}

# Width and height from the PNG's IHDR chunk.
png_size() {
    local size=$1
    local png=$dest/usr/share/icons/hicolor/${size}x${size}/apps/$id.png
    [ "$(od -An -tu4 --endian=big -j16 -N8 "$png" | tr -s ' ')" = " $size $size" ]
}

# The desktop entry opens the very type that the MIME package declares, and
# shared-mime-info reads that package with the low-weight, case-sensitive globs.
mime_type() {
    local type
    type=$(sed -n 's/.*mime-type type="\([^"]*\)".*/\1/p' "$dest/usr/share/mime/packages/$id.xml")
    grep -qx "MimeType=$type;" "$dest/usr/share/applications/$id.desktop" &&
        update-mime-database "$dest/usr/share/mime" &&
        grep -qx "10:$type:\*\.BIG:cs" "$dest/usr/share/mime/globs2" &&
        grep -qx "10:$type:\*\.big:cs" "$dest/usr/share/mime/globs2"
}

# Every option that --help names appears on the rendered manual page.
man_names_options() {
    local prog=$1 page text missing=""
    page=$dest/usr/share/man/man1/$prog.1.gz
    text=$(LC_ALL=C MANWIDTH=200 man -l "$page" 2>&1 | col -b) || return 1
    grep -q "^ *$prog - " <<<"$text" || { echo "$prog.1: no NAME line"; return 1; }
    for opt in $("$bin/$prog" --help | grep -o -- '--[a-z][-a-z0-9]*' | sort -u); do
        grep -q -e "$opt" <<<"$text" || missing+=" $opt"
    done
    [ -z "$missing" ] || { echo "$prog.1 lacks:$missing"; return 1; }
}

versions() {
    [ "$("$bin/brevix-dump" --version)" = "brevix-dump $version" ] &&
        [ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$bin/brevix" --version)" = "brevix $version" ] &&
        grep -q "<release version=\"$version\"" "$dest/usr/share/metainfo/$id.metainfo.xml"
}

# The licence: LICENSE is MIT, and the package and the AppStream metadata say
# so; the Debian copyright file carries the same text in its indented form.
licence() {
    local copyright=$dest/usr/share/doc/brevix/copyright
    grep -qx 'Copyright (c) 2026 KELMARON' "$src/LICENSE" &&
        grep -qx 'License: Expat' "$copyright" &&
        grep -qx 'Copyright: 2026 KELMARON' "$copyright" &&
        diff <(sed -n '/^Permission/,$p' "$src/LICENSE") \
            <(sed -n '/^ Permission/,$p' "$copyright" | sed 's/^ //; s/^\.$//') &&
        grep -q '<project_license>MIT</project_license>' "$dest/usr/share/metainfo/$id.metainfo.xml"
}

# The schema that --help and the manual page name is installed there.
schema() {
    local named
    named=$("$bin/brevix-dump" --help | grep -o '/usr/share/brevix/[^ ,)]*') &&
        cmp "$dest$named" "$src/docs/brevix-dump.schema.json" &&
        LC_ALL=C MANWIDTH=200 man -l "$dest/usr/share/man/man1/brevix-dump.1.gz" 2>/dev/null |
        grep -q "$named"
}

# Options with a value or a mode to join are entries of their own on the page.
man_entries() {
    local text
    text=$(LC_ALL=C MANWIDTH=200 man -l "$dest/usr/share/man/man1/brevix-dump.1.gz" 2>&1 | col -b)
    for opt in '--port N' '--control' '--help'; do
        grep -q "^       $opt\( \|$\)" <<<"$text" || { echo "no entry: $opt"; return 1; }
    done
    ! grep -q 'show this text' <<<"$text"
}

installed_listing() {
    (cd "$work" && "$bin/brevix-dump" "$src/samples/S6F11.BIG") |
        diff - "$src/tests/data/golden/S6F11-column.txt"
}

# Wrong usage is answered without a display: message, exit code 2.
viewer_usage_error() {
    local status=0 err
    err=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$bin/brevix" a b 2>&1 >/dev/null) ||
        status=$?
    [ "$status" = 2 ] && grep -q '^brevix: ' <<<"$err"
}

# Completes WORDS... (the last one is the word under the cursor) with the
# installed completion; prints the candidates, sorted.
complete_words() {
    PATH=$bin:$PATH bash -c '
        source /usr/share/bash-completion/bash_completion
        source "$0"
        COMP_WORDS=(brevix-dump "$@")
        COMP_CWORD=$#
        COMP_LINE="${COMP_WORDS[*]}"
        COMP_POINT=${#COMP_LINE}
        _brevix_dump brevix-dump "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD-1]}"
        printf "%s\n" "${COMPREPLY[@]}" | LC_ALL=C sort' \
        "$dest/usr/share/bash-completion/completions/brevix-dump" "$@"
}

completion() {
    diff <(complete_words --) <("$bin/brevix-dump" --help | grep -o -- '--[a-z][-a-z0-9]*' |
        LC_ALL=C sort -u) &&
        diff <(complete_words --style '') <(printf '%s\n' auto bracket column) &&
        diff <(complete_words --style=b) <(echo bracket)
}

package() {
    local deb=$build/brevix_${version}_$(dpkg --print-architecture).deb depends
    rm -f "$deb"
    cmake --build "$build" --target package >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; return 1; }
    diff <(expected_files) <(dpkg-deb -c "$deb" | grep -v '/$' | sed 's|.* \./||' | LC_ALL=C sort) &&
        [ "$(dpkg-deb -f "$deb" Package Version)" = "$(printf 'Package: brevix\nVersion: %s' "$version")" ] || return 1
    depends=$(dpkg-deb -f "$deb" Depends)
    for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
        grep -q "\b$lib\b" <<<"$depends" || { echo "Depends lacks $lib: $depends"; return 1; }
    done
}

if ! DESTDIR=$dest cmake --install "$build" --prefix /usr >"$work/install.log"; then
    cat "$work/install.log"
    echo "install: 0 passed, 1 failed"
    exit 1
fi
check "installed layout" layout
check "48 px icon" png_size 48
check "256 px icon" png_size 256
check "desktop entry" desktop-file-validate "$dest/usr/share/applications/$id.desktop"
check "AppStream metadata" appstreamcli validate --no-net "$dest/usr/share/metainfo/$id.metainfo.xml"
check "file type" mime_type
check "brevix.1 names every option" man_names_options brevix
check "brevix-dump.1 names every option" man_names_options brevix-dump
check "versions agree" versions
check "installed brevix-dump lists a sample" installed_listing
check "licence" licence
check "JSON schema where --help says" schema
check "manual entries of --port, --control, --help" man_entries
check "viewer refuses a second argument" viewer_usage_error
check "completion" completion
check "Debian package" package
echo "install: $passed passed, $failed failed"
[ "$failed" = 0 ]
