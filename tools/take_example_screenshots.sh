#!/usr/bin/env bash
# Runs each example program (and the new-game template) briefly under a virtual display, saves
# a screenshot of its window and checks that the picture shows the example's subject: enough
# pixels of the colours it draws. The screenshots in docs/examples/ are made with it.
# Needs xvfb-run, xdotool and ImageMagick.
# Usage: tools/take_example_screenshots.sh <examples build folder> <template build folder> <output folder>
# Exits non-zero when a program fails, shows no window or its screenshot misses its subject.
set -uo pipefail
if [[ $# -ne 3 ]]; then
    echo "usage: $0 <examples build folder> <template build folder> <output folder>" >&2
    exit 2
fi
examples=$(realpath "$1")
template=$(realpath "$2")
output=$(realpath -m "$3")
mkdir -p "$output"

if [[ -z "${QUORVANE_SCREENSHOT_DISPLAY:-}" ]]; then
    exec env QUORVANE_SCREENSHOT_DISPLAY=1 ALSOFT_DRIVERS=null \
        xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" "$0" "$examples" "$template" "$output"
fi

logs=$(mktemp -d "${TMPDIR:-/tmp}/example-logs.XXXXXX")
trap 'rm -rf "$logs"' EXIT

# Pixels of the image within 10% of the colour.
count_color() {
    convert "$1" -alpha off -fuzz 10% -fill black +opaque "$2" -fill white -opaque "$2" \
        -format "%[fx:round(mean*w*h)]" info:
}

# shows <image> <least pixels> <colour>...: every colour covers at least that many pixels.
shows() {
    local image=$1 least=$2 color count; shift 2
    for color in "$@"; do
        count=$(count_color "$image" "$color")
        if (( count < least )); then
            echo "  $color: $count pixels (want $least)"
            return 1
        fi
    done
}

failures=0
# check <name> <program> <window title> <least pixels> <colour>...
# The framework shows its logo for 2.5 s first; then the program runs 6 s of its own scene and
# the picture is taken as soon as the subject shows, retried until the program ends.
check() {
    local name=$1 program=$2 title=$3; shift 3
    local shot="$output/$name.png" window="" shown=0 status=0
    # A failed check shows a message box that waits for a click: the time-out ends it.
    timeout -k 5 60 "$program" 6 2>"$logs/$name.txt" &
    local process=$!
    # Start-up can take many seconds on a loaded machine with a software rasteriser.
    for _ in $(seq 1 600); do
        window=$(xdotool search --name "^$title\$" 2>/dev/null | head -1 || true)
        [[ -n "$window" ]] && break
        sleep 0.1
    done
    if [[ -n "$window" ]]; then
        sleep 3.5
        while kill -0 "$process" 2>/dev/null; do
            import -window "$window" "$shot" 2>/dev/null && shows "$shot" "$@" >/dev/null && { shown=1; break; }
            sleep 0.5
        done
    fi
    wait "$process" || status=$?
    if [[ -z "$window" ]]; then
        echo "FAIL $name: no window titled '$title'"
    elif (( status != 0 )); then
        echo "FAIL $name: exited with $status"; cat "$logs/$name.txt"
    elif (( !shown )); then
        echo "FAIL $name: the screenshot does not show its subject"; [[ -f "$shot" ]] && shows "$shot" "$@"
    else
        echo "ok   $name"; return 0
    fi
    failures=$((failures + 1))
}

check 1_hello_window "$examples/example_1_hello_window" "Hello, Marrowgate" 800 "#FFFF00"
# The sprite's orange, the green blocks, the yellow sun and the brown ground.
check 2_sprites_and_shapes "$examples/example_2_sprites_and_shapes" "Sprites and shapes" 800 \
    "#FF7F1A" "#00FF00" "#FFFF00" "#996633"
check 3_sounds "$examples/example_3_sounds" "Sounds" 800 "#FFFFFF" "#2E9FFF"
check 4_entities_and_scenes "$examples/example_4_entities_and_scenes" "Entities and scenes" 800 "#00FFFF" "#FF9F2E"
# The cube's sunlit top face, the blocks' red and green tops.
check 5_mesh_and_lighting "$examples/example_5_mesh_and_lighting" "Mesh and lighting" 800 "#E77F13"
check 6_colliding_entities "$examples/example_6_colliding_entities" "Colliding entities" 800 "#EC2715" "#35DF36"
# The volume bars' sky blue and the magenta hum circling the listener.
check 7_sound_mixer "$examples/example_7_sound_mixer" "Sound mixer" 800 "#2E9FFF" "#FF00FF"
# The runner's orange, the platforms' brown and the bouncing balls' cyan.
check 8_platformer "$examples/example_8_platformer" "Platformer" 800 "#FF9F2E" "#996633" "#00FFFF"
# The name field's blue and the chosen key row, dim while the name is being typed.
check 9_name_entry "$examples/example_9_name_entry" "Name entry" 800 "#1F4E79" "#3A2A40"
# The character's shirt, the sky, the ground and the bars beside the whole-multiple picture.
check 10_animated_character "$examples/example_10_animated_character" "Animated character" 800 \
    "#FF7F1A" "#87CEEB" "#2E8B3A" "#202838"
# The world's blocks and the minimap's white frame.
check 11_minimap "$examples/example_11_minimap" "Minimap" 800 "#FF9F2E" "#BB00FF" "#FFFFFF"
# The panels' inside and edge, the highlighted button and the yellow title.
check 12_menu "$examples/example_12_menu" "Menu" 800 "#3A2E5C" "#F0E6C8" "#FFFF00"
# The character's sunlit top and the items' green tops.
check 13_follow_and_pick "$examples/example_13_follow_and_pick" "Follow and pick" 800 "#FF8A17" "#37EA39"
# The sky, the crates' sunlit tops and the shadows on the grass.
check 14_fog_sky_and_shadows "$examples/example_14_fog_sky_and_shadows" "Fog, sky and shadows" 800 \
    "#94BDE8" "#CD9240" "#354D32"
# The scene's own clear colour and the blue and orange patches of cubes.
check 15_ten_thousand_cubes "$examples/example_15_ten_thousand_cubes" "Ten thousand cubes" 800 \
    "#0F1429" "#203F68" "#684122"
check template "$template/my_game" "My Game" 800 "#FFFFFF"
exit $((failures > 0))
