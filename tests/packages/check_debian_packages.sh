#!/usr/bin/env bash
# Checks the Debian packages of a build folder (cmake --build <folder> --target package):
#   1. lintian finds no error in either package (its warnings are printed);
#   2. with --install (the machine's packages change: for CI's throwaway machine, or on purpose):
#      apt-get installs both, the game started as a desktop starts it (the desktop entry's
#      command, from a home folder, without the source tree) reaches play, the template builds
#      against the installed kits with find_package and runs; both are removed afterwards.
# Every program it starts has a time limit.
# Usage: check_debian_packages.sh <build folder> [--install]
set -euo pipefail
source=$(realpath "$(dirname "$0")/../..")
build=$(realpath "$1")
install=${2:-}
fail() { echo "FAIL: $*" >&2; exit 1; }

shopt -s nullglob
game=("$build"/quorvane_*.deb)
kits=("$build"/quorvane-dev_*.deb)
[[ ${#game[@]} -eq 1 && ${#kits[@]} -eq 1 ]] || fail "expected one quorvane and one quorvane-dev package in $build"

for package in "${game[0]}" "${kits[0]}"; do
    echo "lintian $(basename "$package"):"
    lintian --fail-on error --tag-display-limit 0 "$package" || fail "lintian reports errors in $(basename "$package")"
    # The release log shipped with a package describes that package's version.
    name=$(dpkg-deb --field "$package" Package)
    version=$(dpkg-deb --field "$package" Version)
    dpkg-deb --fsys-tarfile "$package" | tar -xO "./usr/share/doc/$name/changelog.Debian.gz" | gzip -dc |
        head -1 | grep -qF " ($version) " || fail "the changelog in $name does not begin with version $version"
done
dpkg-deb --field "${game[0]}" Depends | grep -q libsdl2 || fail "the game's package does not depend on SDL2"

if [[ "$install" != "--install" ]]; then
    echo "Not installed: pass --install to install the packages into this machine and start the game from them."
    exit 0
fi

run_as_root=()
if [[ $(id -u) -ne 0 ]]; then run_as_root=(sudo); fi
scratch=$(mktemp -d)
remove() {
    "${run_as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get remove -y -q --purge quorvane quorvane-dev >/dev/null || true
    rm -rf "$scratch"
}
trap remove EXIT
"${run_as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    "${game[0]}" "${kits[0]}" >/dev/null || fail "apt-get could not install the packages"

entry=/usr/share/applications/com.wrenfold.Quorvane.desktop
command=$(sed -n 's/^Exec=//p' "$entry")
[[ -n "$command" ]] || fail "the desktop entry has no command"
mkdir -p "$scratch/home"
# The PATH of a Debian desktop session, which has the games folders.
env -i HOME="$scratch/home" PATH=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games XDG_DATA_DIRS=/usr/local/share:/usr/share \
    MARROWGATE_MULTISAMPLING=0 timeout 300 xvfb-run -a -s "-screen 0 1920x1080x24" \
    "$source/tests/packages/play_installed_game.sh" "$command" "$scratch/home" || fail "the installed game did not reach play"

cp -r "$source/template" "$scratch/my_game"
cmake -S "$scratch/my_game" -B "$scratch/my_game/build" -G Ninja >/dev/null || fail "the template does not configure against the installed kits"
cmake --build "$scratch/my_game/build" >/dev/null || fail "the template does not build against the installed kits"
(cd "$scratch/my_game" && timeout 120 xvfb-run -a -s "-screen 0 1920x1080x24" "$scratch/my_game/build/my_game" 1) ||
    fail "the template built against the installed kits did not run"
echo "The packages installed, the game reached play and the template built against the installed kits."
