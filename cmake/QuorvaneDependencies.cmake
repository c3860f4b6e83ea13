# Every dependency comes from the system's packages (Debian: see scripts/install-dependencies.sh).
# A web build finds the web's instead (scripts/web-toolchain.sh).
if(EMSCRIPTEN)
    include(QuorvaneWebDependencies)
    return()
endif()
find_package(SDL2 REQUIRED CONFIG)
find_package(OpenGL REQUIRED COMPONENTS OpenGL)
find_package(GLEW REQUIRED)
find_package(OpenAL REQUIRED)
# ALSA only to quieten its error messages when OpenAL Soft finds no sound card.
find_package(ALSA REQUIRED)
find_package(Threads REQUIRED)
find_package(PkgConfig REQUIRED)

# libstb-dev ships the stb headers under <stb/...> and their compiled bodies as libstb.so.
pkg_check_modules(STB REQUIRED IMPORTED_TARGET stb)
