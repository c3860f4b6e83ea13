#!/usr/bin/env bash
# Installs the kits of a build tree into a scratch prefix and uses them as a game developer
# would: the mesh tool the guide uses is installed and works, a project that asks for a newer
# version is refused, every installed header compiles on its own, and the examples and the
# new-game template build as projects of their own with find_package and run, each showing its
# subject (tools/take_example_screenshots.sh); an example whose data file is missing ends with
# the report and exit status 1.
# Usage: check_examples.sh <source folder> <build folder>
set -euo pipefail
source=$(realpath "$1")
build=$(realpath "$2")
# Inside the build folder, at the same place every run, so that ccache recognises the
# examples' compile commands (they name the prefix) and a second run costs little.
scratch="$build/tests/kits_check"
rm -rf "$scratch"
mkdir -p "$scratch"
trap 'rm -rf "$scratch"' EXIT
prefix="$scratch/prefix"
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" --component kits >/dev/null
for unwanted in bin/quorvane share/quorvane lib/libquorvane_game.a; do
    [[ ! -e "$prefix/$unwanted" ]] || fail "the kits' install brought $unwanted"
done
# The guide's mesh tool comes with the kits and works from the prefix.
[[ "$(ls "$prefix/bin")" == "quorvane-mesh" ]] || fail "the kits' install brought $(ls "$prefix/bin") to bin/"
"$prefix/bin/quorvane-mesh" convert "$source/examples/data/mesh/cube.obj" "$scratch/cube.msh" >/dev/null ||
    fail "the installed quorvane-mesh cannot convert an OBJ file"
"$prefix/bin/quorvane-mesh" info "$scratch/cube.msh" | grep -q "vertices" ||
    fail "the installed quorvane-mesh cannot describe a mesh"

configure=(cmake -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_PREFIX_PATH=$prefix"
           "-DCMAKE_CXX_FLAGS=-Wall -Wextra -Wpedantic -Werror")
if command -v ccache >/dev/null; then configure+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi

mkdir -p "$scratch/too_new"
cat >"$scratch/too_new/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.25)
project(TooNew LANGUAGES CXX)
find_package(Quorvane 2.0 REQUIRED)
CMAKE
if output=$("${configure[@]}" -S "$scratch/too_new" -B "$scratch/too_new/build" 2>&1); then
    fail "a project asking for Quorvane 2.0 was configured"
fi
grep -q 'compatible with requested version "2.0"' <<<"$output" || fail "no version message: $output"

(cd "$prefix/include" && find . -name '*.h' | sort | sed 's|^\./|#include "|; s|$|"|') >"$scratch/all_headers.cpp"
c++ -std=c++20 -fsyntax-only -Wall -Wextra -Wpedantic -Werror -I "$prefix/include" "$scratch/all_headers.cpp" ||
    fail "the installed headers do not compile on their own"

# The template is copied first: a developer starts from a copy, outside this repository. The
# examples are built from a copy too, so that one of their data files can go missing below.
cp -r "$source/template" "$scratch/my_game"
cp -r "$source/examples" "$scratch/examples_source"
for project in "$scratch/examples_source:$scratch/examples" "$scratch/my_game:$scratch/my_game/build"; do
    "${configure[@]}" -S "${project%%:*}" -B "${project##*:}" >/dev/null
    cmake --build "${project##*:}" -j 2 >/dev/null
done

# From a folder without data/, so each program finds its own.
cd "$scratch"
"$source/tools/take_example_screenshots.sh" "$scratch/examples" "$scratch/my_game/build" "$scratch/screenshots"

# A missing data file ends a kits program as it ends the game: the report naming the file (on
# stderr and in the error box, answered as a user would) and exit status 1, not an abort.
rm "$scratch/examples_source/data/images/ball.png"
missing="$scratch/missing_file.txt"
status=0
ALSOFT_DRIVERS=null "$source/tests/examples/answer_error_box.sh" "$scratch/examples/example_2_sprites_and_shapes" 6 \
    >"$missing" 2>&1 || status=$?
(( status == 1 )) || fail "a missing data file ended the example with status $status: $(cat "$missing")"
grep -q 'File: "data/images/ball.png"' "$missing" || fail "the report does not name the file: $(cat "$missing")"
if grep -q "terminate called" "$missing"; then fail "the example aborted: $(cat "$missing")"; fi
