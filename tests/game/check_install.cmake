# Installs the build into a scratch prefix and checks what a packager and a desktop see:
# the program and its data where the program looks for them, a valid desktop entry whose
# window class matches the program, icons, valid AppStream metadata, and the command line.
# Script mode: cmake -DBUILD_DIR=... -DSCRATCH_DIR=... -P check_install.cmake
function(require condition message)
    if(NOT ${condition})
        message(FATAL_ERROR "${message}")
    endif()
endfunction()

set(prefix "${SCRATCH_DIR}/prefix")
file(REMOVE_RECURSE "${SCRATCH_DIR}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${prefix}"
                RESULT_VARIABLE result OUTPUT_QUIET)
require(result EQUAL 0 "cmake --install failed (${result})")

set(share "${prefix}/share")
foreach(file bin/quorvane
             share/quorvane/data/mesh/car.msh share/quorvane/data/mesh/quor.msh
             share/quorvane/data/shaders/basic_object_shader.vert share/quorvane/data/shaders/basic_object_shader.frag
             share/quorvane/data/shaders/visualizer_shader.vert share/quorvane/data/shaders/visualizer_shader.frag
             share/quorvane/data/wrenfold_logo_512.png share/quorvane/data/audio/audio_events.json
             share/applications/com.wrenfold.Quorvane.desktop share/metainfo/com.wrenfold.Quorvane.metainfo.xml
             share/icons/hicolor/48x48/apps/com.wrenfold.Quorvane.png
             share/icons/hicolor/256x256/apps/com.wrenfold.Quorvane.png)
    require(EXISTS "${prefix}/${file}" "not installed: ${file}")
endforeach()
require(NOT EXISTS "${share}/quorvane/data/desktop" "desktop files installed among the game data")
require(NOT EXISTS "${share}/quorvane/data/CMakeLists.txt" "build file installed among the game data")

set(desktop "${share}/applications/com.wrenfold.Quorvane.desktop")
execute_process(COMMAND desktop-file-validate "${desktop}" RESULT_VARIABLE result OUTPUT_VARIABLE output
                ERROR_VARIABLE output)
require(result EQUAL 0 "desktop-file-validate: ${output}")
require(output STREQUAL "" "desktop-file-validate warns: ${output}")
file(READ "${desktop}" entry)
require(entry MATCHES "\nCategories=Game;ArcadeGame;\n" "desktop entry lacks the game categories")
# Without a window-class hint SDL names the window after the executable.
require(entry MATCHES "\nStartupWMClass=quorvane\n" "desktop entry's window class does not match the program")
require(entry MATCHES "\nIcon=com.wrenfold.Quorvane\n" "desktop entry names another icon")

execute_process(COMMAND appstreamcli validate --no-net "${share}/metainfo/com.wrenfold.Quorvane.metainfo.xml"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
require(result EQUAL 0 "appstreamcli validate: ${output}")

set(program "${prefix}/bin/quorvane")
foreach(option --help --version)
    execute_process(COMMAND "${program}" ${option} RESULT_VARIABLE result OUTPUT_VARIABLE output
                    ERROR_VARIABLE errors)
    require(result EQUAL 0 "quorvane ${option} exited with ${result}")
    require(NOT output STREQUAL "" "quorvane ${option} printed nothing on stdout")
    require(errors STREQUAL "" "quorvane ${option} wrote to stderr: ${errors}")
endforeach()
require(output MATCHES "^quorvane [0-9]+\\.[0-9]+\\.[0-9]+\n$" "unexpected version line: ${output}")
execute_process(COMMAND "${program}" --fullscreen RESULT_VARIABLE result OUTPUT_VARIABLE output
                ERROR_VARIABLE errors)
require(NOT result EQUAL 0 "an unknown argument was accepted")
require(output STREQUAL "" "an unknown argument printed to stdout: ${output}")
require(errors MATCHES "Usage: quorvane" "an unknown argument did not show the usage on stderr")
file(REMOVE_RECURSE "${SCRATCH_DIR}")
