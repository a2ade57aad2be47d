#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian package from a Release build for /usr, checks it with
# lintian, installs it with apt, starts the installed programs, purges it and
# checks that nothing it installed is left. A build folder not yet configured
# is made a build of the program alone; the test command passes its own.
#   scripts/package-check.sh [BUILD_DIR]   (default build/deb; needs root)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/deb}
work=$(mktemp -d /tmp/velmix-package.XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX=/usr -DBUILD_TESTING=OFF -DVELMIX_WERROR=ON >/dev/null
grep -qx 'CMAKE_BUILD_TYPE:STRING=Release' "$build/CMakeCache.txt" &&
    grep -qx 'CMAKE_INSTALL_PREFIX:PATH=/usr' "$build/CMakeCache.txt" ||
    fail "$build is not a Release build for /usr"
cmake --build "$build" -j "$(nproc)"
rm -f "$build"/velmix_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/velmix_*_amd64.deb)
echo "built: $deb"

# cmake --install lists every file it makes, so the manifest uninstalls it.
DESTDIR="$work/staged" cmake --install "$build" >/dev/null
(cd "$work/staged" && find . ! -type d | sed 's/^\.//' | sort) >"$work/staged.txt"
sort "$build/install_manifest.txt" | cmp -s - "$work/staged.txt" ||
    fail "install_manifest.txt does not list every file installed"

lintian --allow-root "$deb" | tee "$work/lintian.txt"
! grep -q '^[EW]:' "$work/lintian.txt" || fail "lintian found errors or warnings"
echo "ok: lintian"

# A copy left by an interrupted run would hide what this one installs.
if dpkg-query -W -f='${Status}' velmix 2>/dev/null | grep -q ' installed$'; then
    echo "velmix is installed already: purging it first"
    DEBIAN_FRONTEND=noninteractive apt-get purge -y velmix >/dev/null
fi
DEBIAN_FRONTEND=noninteractive apt-get install -y "$(cd "$(dirname "$deb")" && pwd)/$(basename "$deb")" >/dev/null
dpkg-query -L velmix | sort >"$work/files"
while read -r f; do [ -e "$f" ] || fail "listed but missing: $f"; done <"$work/files"
for f in /usr/bin/velmix /usr/bin/velmix-render /usr/share/velmix/help/index.htm \
    /usr/share/velmix/gradients/soft-sky.ggr \
    /usr/share/man/man1/velmix.1.gz /usr/share/man/man1/velmix-render.1.gz \
    /usr/share/doc/velmix/copyright /usr/share/doc/velmix/changelog.gz \
    /usr/share/applications/org.velmix.Velmix.desktop; do
    grep -qx "$f" "$work/files" || fail "not in the package: $f"
done
! file /usr/bin/velmix /usr/bin/velmix-render | grep -q 'not stripped' || fail "not stripped"
desktop-file-validate /usr/share/applications/org.velmix.Velmix.desktop
echo "ok: installed"

# Without a display: the information options still answer.
env -u DISPLAY -u WAYLAND_DISPLAY velmix --help | grep -q '^Usage: velmix' || fail "velmix --help"
[ "$(env -u DISPLAY velmix --version)" = "velmix 1.50" ] || fail "velmix --version"
man -w velmix velmix-render >/dev/null || fail "manual pages not found"
velmix-render -s 64 -t 8 -o "$work/strip.png"
file "$work/strip.png" | grep -q 'PNG image data, 64 x 8' || fail "velmix-render wrote no PNG"
echo "ok: velmix-render"

# The installed program on a display of its own, ended by its menu: root could
# write to /usr/bin, but the settings go to the user's folder.
mkdir -p "$work/home"
HOME="$work/home" tests/e2e/session.sh /usr/bin "$work/shot.png" menu || fail "installed velmix"
[ -f "$work/home/.config/velmix/velmix.ini" ] || fail "settings not in ~/.config/velmix"
[ ! -e /usr/bin/velmix.ini ] || fail "settings written beside the installed program"
echo "ok: installed velmix started and ended"

DEBIAN_FRONTEND=noninteractive apt-get purge -y velmix >/dev/null
! dpkg-query -W -f='${Status}' velmix 2>/dev/null | grep -q ' installed$' || fail "still installed"
while read -r f; do
    # Folders the system shares (/usr/share/man, icon theme folders) stay.
    [ -d "$f" ] && [ -n "$(ls -A "$f" 2>/dev/null)" ] && continue
    [ ! -e "$f" ] || fail "left after purge: $f"
done <"$work/files"
[ ! -e /usr/share/velmix ] && [ ! -e /usr/share/doc/velmix ] || fail "package folders left"
echo "ok: purged, nothing left"
