# Installs the build into a scratch prefix and checks what a packager and a desktop see:
# the program and its data where the program looks for them, a valid desktop entry whose
# window class matches the program, icons, valid AppStream metadata, and the command line.
# Script mode: cmake -DBUILD_DIR=... -DSCRATCH_DIR=... -P check_install.cmake

set(prefix "${SCRATCH_DIR}/prefix")
file(REMOVE_RECURSE "${SCRATCH_DIR}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${prefix}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed (${result})")
endif()

set(share "${prefix}/share")
foreach(file bin/quorvane
             share/quorvane/data/mesh/car.msh share/quorvane/data/mesh/quor.msh
             share/quorvane/data/shaders/basic_object_shader.vert share/quorvane/data/shaders/basic_object_shader.frag
             share/quorvane/data/shaders/visualizer_shader.vert share/quorvane/data/shaders/visualizer_shader.frag
             share/quorvane/data/wrenfold_logo_512.png share/quorvane/data/audio/audio_events.json
             share/applications/com.wrenfold.Quorvane.desktop share/metainfo/com.wrenfold.Quorvane.metainfo.xml
             share/icons/hicolor/48x48/apps/com.wrenfold.Quorvane.png
             share/icons/hicolor/256x256/apps/com.wrenfold.Quorvane.png)
    if(NOT EXISTS "${prefix}/${file}")
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()
if(EXISTS "${share}/quorvane/data/desktop")
    message(FATAL_ERROR "desktop files installed among the game data")
endif()
if(EXISTS "${share}/quorvane/data/CMakeLists.txt")
    message(FATAL_ERROR "build file installed among the game data")
endif()

set(desktop "${share}/applications/com.wrenfold.Quorvane.desktop")
execute_process(COMMAND desktop-file-validate "${desktop}" RESULT_VARIABLE result OUTPUT_VARIABLE output
                ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "desktop-file-validate: ${output}")
endif()
if(NOT "${output}" STREQUAL "")
    message(FATAL_ERROR "desktop-file-validate warns: ${output}")
endif()
file(READ "${desktop}" entry)
if(NOT entry MATCHES "\nCategories=Game;ArcadeGame;\n")
    message(FATAL_ERROR "desktop entry lacks the game categories")
endif()
# Without a window-class hint SDL names the window after the executable.
if(NOT entry MATCHES "\nStartupWMClass=quorvane\n")
    message(FATAL_ERROR "desktop entry's window class does not match the program")
endif()
if(NOT entry MATCHES "\nIcon=com.wrenfold.Quorvane\n")
    message(FATAL_ERROR "desktop entry names another icon")
endif()

execute_process(COMMAND appstreamcli validate --no-net "${share}/metainfo/com.wrenfold.Quorvane.metainfo.xml"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "appstreamcli validate: ${output}")
endif()

set(program "${prefix}/bin/quorvane")
foreach(option --help --version)
    # With no sound back-end at all, opening the sound device would say so on stderr: these two
    # must print their text without touching the sound card.
    execute_process(COMMAND "${CMAKE_COMMAND}" -E env ALSOFT_DRIVERS=no-such-backend "${program}" ${option}
                    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "quorvane ${option} exited with ${result}")
    endif()
    if(NOT errors STREQUAL "")
        message(FATAL_ERROR "quorvane ${option} wrote to stderr: ${errors}")
    endif()
    if("${output}" STREQUAL "")
        message(FATAL_ERROR "quorvane ${option} printed nothing on stdout")
    endif()
endforeach()
if(NOT output MATCHES "^quorvane ([0-9]+\\.[0-9]+\\.[0-9]+)\n$")
    message(FATAL_ERROR "unexpected version line: ${output}")
endif()
# Software centres show the metadata's newest release as the version installed.
set(version "${CMAKE_MATCH_1}")
file(READ "${share}/metainfo/com.wrenfold.Quorvane.metainfo.xml" metadata)
if(NOT metadata MATCHES "<release version=\"${version}\" date=\"[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]\"")
    message(FATAL_ERROR "the metadata's release is not the program's version ${version}, with a date")
endif()
execute_process(COMMAND "${program}" --no-such-option RESULT_VARIABLE result OUTPUT_VARIABLE output
                ERROR_VARIABLE errors)
if(result EQUAL 0)
    message(FATAL_ERROR "an unknown argument was accepted")
endif()
if(NOT "${output}" STREQUAL "")
    message(FATAL_ERROR "an unknown argument printed to stdout: ${output}")
endif()
if(NOT errors MATCHES "Usage: quorvane")
    message(FATAL_ERROR "an unknown argument did not show the usage on stderr")
endif()
file(REMOVE_RECURSE "${SCRATCH_DIR}")
