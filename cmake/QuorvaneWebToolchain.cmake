# Builds for the web with Debian's emscripten and an SDL2 built for it:
#   cmake -S . -B build-web -G Ninja --toolchain <quorvane>/cmake/QuorvaneWebToolchain.cmake
# SDL2 is looked for in QUORVANE_WEB_SDL2 (a variable or an environment variable), else where
# scripts/web-toolchain.sh builds it (~/.cache/quorvane-web/sdl2-2.26.5). Kits installed for the
# web are found through CMAKE_PREFIX_PATH as usual; the search reaches only these folders and
# emscripten's own, never the desktop's libraries.
# emscripten's JavaScript tools need Debian's acorn, outside the default path of a node that is
# not Debian's own. They run at configure time and again at every link, when this variable is
# long gone, so each link gets it too.
set(QUORVANE_NODE_PATH /usr/share/nodejs)
if(DEFINED ENV{NODE_PATH} AND NOT "$ENV{NODE_PATH}" MATCHES "(^|:)/usr/share/nodejs(:|$)")
    string(APPEND QUORVANE_NODE_PATH ":$ENV{NODE_PATH}")
elseif(DEFINED ENV{NODE_PATH})
    set(QUORVANE_NODE_PATH "$ENV{NODE_PATH}")
endif()
set(ENV{NODE_PATH} "${QUORVANE_NODE_PATH}")
foreach(language C CXX)
    set(CMAKE_${language}_LINKER_LAUNCHER "${CMAKE_COMMAND}" -E env "NODE_PATH=${QUORVANE_NODE_PATH}")
endforeach()
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

if(NOT QUORVANE_WEB_SDL2)
    if(DEFINED ENV{QUORVANE_WEB_SDL2})
        set(QUORVANE_WEB_SDL2 "$ENV{QUORVANE_WEB_SDL2}")
    elseif(DEFINED ENV{QUORVANE_WEB_CACHE})
        set(QUORVANE_WEB_SDL2 "$ENV{QUORVANE_WEB_CACHE}/sdl2-2.26.5")
    elseif(DEFINED ENV{XDG_CACHE_HOME})
        set(QUORVANE_WEB_SDL2 "$ENV{XDG_CACHE_HOME}/quorvane-web/sdl2-2.26.5")
    else()
        set(QUORVANE_WEB_SDL2 "$ENV{HOME}/.cache/quorvane-web/sdl2-2.26.5")
    endif()
endif()
set(QUORVANE_WEB_SDL2 "${QUORVANE_WEB_SDL2}" CACHE PATH "SDL2 built for the web (scripts/web-toolchain.sh)")
# emscripten's own SDL2 package would link its downloading port; this prefix comes first.
list(PREPEND CMAKE_FIND_ROOT_PATH "${QUORVANE_WEB_SDL2}")
foreach(prefix IN LISTS CMAKE_PREFIX_PATH)
    list(APPEND CMAKE_FIND_ROOT_PATH "${prefix}")
endforeach()
