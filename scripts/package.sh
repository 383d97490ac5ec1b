#!/usr/bin/env bash
# Builds the Debian package of Chromint: a Release build in build-pkg/ (no tests, no
# benchmarks, installed under /usr), then CPack's DEB generator. The last line printed is the
# path of the package, chromint_<version>_<arch>.deb.
#
#   bash scripts/package.sh [build folder, default build-pkg]
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${1:-$ROOT/build-pkg}
[[ "$BUILD_DIR" == /* ]] || BUILD_DIR="$ROOT/$BUILD_DIR"

bash "$ROOT/scripts/deps.sh"

# The package must not carry files of an earlier version.
rm -rf "$BUILD_DIR/package"

# Debian's hardening flags (stack protector, fortified functions, read-only relocations,
# immediate binding), without -g: the package carries stripped files.
flags() { DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1" | sed -E 's/(^| )-g( |$)/ /'; }
CXX_FLAGS="$(flags CPPFLAGS) $(flags CXXFLAGS)"
LINK_FLAGS=$(flags LDFLAGS)

nice bash "$ROOT/scripts/build.sh" "$BUILD_DIR" \
    -DCMAKE_BUILD_TYPE=Release \
    "-DCMAKE_CXX_FLAGS=$CXX_FLAGS" \
    "-DCMAKE_EXE_LINKER_FLAGS=$LINK_FLAGS" \
    "-DCMAKE_SHARED_LINKER_FLAGS=$LINK_FLAGS" \
    "-DCMAKE_MODULE_LINKER_FLAGS=$LINK_FLAGS" \
    -DCMAKE_INSTALL_PREFIX=/usr \
    -DCMAKE_SKIP_INSTALL_RPATH=ON \
    -DBUILD_TESTING=OFF \
    -DCHROMINT_BUILD_BENCH=OFF \
    -DCHROMINT_SANITIZE=OFF

echo "package: making the Debian package"
(cd "$BUILD_DIR" && nice cpack -G DEB --config "$BUILD_DIR/CPackConfig.cmake")

shopt -s nullglob
debs=("$BUILD_DIR"/package/chromint_*.deb)
if [[ ${#debs[@]} -ne 1 ]]; then
    echo "package: expected one chromint_*.deb in $BUILD_DIR/package, found ${#debs[@]}" >&2
    exit 1
fi
echo "package: $(du -k "${debs[0]}" | cut -f1) KiB"
echo "${debs[0]}"
