#!/usr/bin/env bash
# Makes the web toolchain ready and prints the folder of the SDL2 built for it.
#   1. installs Debian's emscripten (and what the web tests need, with --tests);
#   2. builds SDL2 for WebAssembly from Debian's own source package, once: the result is kept
#      in ${QUORVANE_WEB_CACHE:-~/.cache/quorvane-web} and reused by every later build.
# emscripten's own SDL2 port would download its sources from a code host at build time, which
# a machine with only Debian's archive cannot do.
# Usage: web-toolchain.sh [--tests]   (prints the SDL2 prefix on stdout, progress on stderr)
# Exit status 3: a package or SDL2's source package could not be had from the archive (no
# network, no archive); any other failure is a failure of the build itself.
set -euo pipefail
unobtainable() {
    echo "web-toolchain.sh: $*" >&2
    exit 3
}

run_as_root=()
if [[ $(id -u) -ne 0 ]]; then run_as_root=(sudo); fi

packages=(emscripten dpkg-dev python3)
if [[ "${1:-}" == "--tests" ]]; then
    packages+=(chromium npm)
fi
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" && continue
    # A node from another archive (NodeSource's) brings its own npm, and conflicts with Debian's.
    [[ "$package" == npm ]] && command -v npm >/dev/null && continue
    missing+=("$package")
done
if [[ ${#missing[@]} -gt 0 ]]; then
    echo "Installing: ${missing[*]}" >&2
    "${run_as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q >&2 &&
    "${run_as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
        "${missing[@]}" >&2 || unobtainable "could not install ${missing[*]}"
fi

# emscripten's JavaScript tools need Debian's acorn, which lives outside node's default path.
export NODE_PATH=/usr/share/nodejs

sdl_version=2.26.5
cache=${QUORVANE_WEB_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quorvane-web}
prefix="$cache/sdl2-$sdl_version"
if [[ -f "$prefix/lib/cmake/SDL2/SDL2Config.cmake" ]]; then
    echo "$prefix"
    exit 0
fi

sources="$cache/sources"
mkdir -p "$sources"
if [[ ! -d "$sources/libsdl2-$sdl_version+dfsg" ]]; then
    # apt-get source needs the archive's source index; add it beside the binary one when absent.
    if ! apt-get source --print-uris libsdl2 >/dev/null 2>&1; then
        echo "Adding Debian's source archive to apt's sources" >&2
        "${run_as_root[@]}" sh -c 'cat > /etc/apt/sources.list.d/quorvane-sources.sources' <<'SOURCES'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
        "${run_as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q >&2 ||
            unobtainable "could not read Debian's source archive"
    fi
    (cd "$sources" && apt-get source -q --download-only "libsdl2=$sdl_version+dfsg-1" >&2) ||
        unobtainable "could not download SDL2's source package"
    (cd "$sources" && dpkg-source -x --no-check "libsdl2_$sdl_version+dfsg-1.dsc" "libsdl2-$sdl_version+dfsg" >&2)
fi

echo "Building SDL2 $sdl_version for WebAssembly (once; kept in $cache)" >&2
build="$cache/sdl2-build"
rm -rf "$build"
emcmake cmake -S "$sources/libsdl2-$sdl_version+dfsg" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_PTHREADS=OFF >&2
cmake --build "$build" -j "$(nproc)" >&2
cmake --install "$build" >&2
rm -rf "$build"
echo "$prefix"
