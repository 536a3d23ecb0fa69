#!/usr/bin/env bash
# Builds the Debian package from a clean copy of the source tree, so that
# nothing of the developer's build trees goes into it:
#   build_deb.sh OUT_DIR
# copies the tree (the files git knows or would take, else all but build/,
# out/ and .git) to OUT_DIR/lumenfall-VERSION, packs the same without debian/
# as the upstream tarball, checks the build dependencies (dpkg-checkbuilddeps
# names what is missing), runs `dpkg-buildpackage -us -uc` there (source and
# binary package: the .dsc, the tarballs, the .deb and the .changes land in
# OUT_DIR) and, where lintian is installed, lintian on the .dsc and the .deb.
# DEB_BUILD_OPTIONS is passed on; without one, parallel= is set to the number
# of processors.
set -euo pipefail

[ $# -eq 1 ] || { echo "usage: build_deb.sh OUT_DIR" >&2; exit 2; }
source_dir=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$1"
out=$(cd "$1" && pwd)
version=$(dpkg-parsechangelog -l "$source_dir/debian/changelog" -S Version)
upstream=${version%-*}
tree=$out/lumenfall-$upstream
rm -rf "$tree"
mkdir -p "$tree"
# Leftovers of earlier package builds in OUT_DIR would be mistaken for this one's.
rm -f "$out"/lumenfall_* "$out"/lumenfall-dbgsym_*

if git -C "$source_dir" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git -C "$source_dir" ls-files -z --cached --others --exclude-standard |
        (cd "$source_dir" && xargs -0 sh -c 'for f; do [ -e "$f" ] && printf "%s\0" "$f"; done' -) |
        tar -C "$source_dir" --null -T - -cf - | tar -C "$tree" -xf -
else
    tar -C "$source_dir" --exclude=./build --exclude=./out --exclude=./.git -cf - . |
        tar -C "$tree" -xf -
fi

tar -C "$out" --exclude="lumenfall-$upstream/debian" --sort=name --owner=0 --group=0 \
    -cJf "$out/lumenfall_$upstream.orig.tar.xz" "lumenfall-$upstream"

cd "$tree"
dpkg-checkbuilddeps
export DEB_BUILD_OPTIONS=${DEB_BUILD_OPTIONS:-parallel=$(nproc)}
dpkg-buildpackage -us -uc
cd "$out"
if command -v lintian >/dev/null; then
    lintian --info --display-info "lumenfall_$version.dsc" \
        "lumenfall_${version}_$(dpkg --print-architecture).deb"
fi
ls "$out"/lumenfall_* "$out"/lumenfall-dbgsym_*
