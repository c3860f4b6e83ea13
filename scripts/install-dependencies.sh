#!/usr/bin/env bash
# Installs the Debian packages Quorvane needs, skipping what is already there.
# Usage: install-dependencies.sh [--tests]
set -euo pipefail

packages=(build-essential cmake ninja-build pkg-config
          libsdl2-dev libglew-dev libopenal-dev libasound2-dev libstb-dev libgl-dev libgl1-mesa-dri libvorbis-dev)
if [[ "${1:-}" == "--tests" ]]; then
    # libsfml-dev: the bunnies benchmark's SFML programs (built only when it is found).
    packages+=(libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev rapidjson-dev libsfml-dev
               clang clang-format libclang-rt-14-dev xvfb xauth xdotool x11-utils imagemagick
               alsa-utils sound-theme-freedesktop fonts-dejavu-core
               desktop-file-utils appstream valgrind doxygen lintian dpkg-dev file)
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

run_as_root=()
if [[ $(id -u) -ne 0 ]]; then run_as_root=(sudo); fi
echo "Installing: ${missing[*]}" >&2
"${run_as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
"${run_as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
