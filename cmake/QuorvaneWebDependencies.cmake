# The kits' dependencies in a web build (emscripten), under the names the desktop build finds
# them by, so that targets link the same names on both. Used by the build and by the installed
# package. SDL2 is a static build for the web found through CMAKE_FIND_ROOT_PATH (see
# QuorvaneWebToolchain.cmake); OpenGL ES (WebGL), GLEW's entry points and OpenAL come with
# emscripten; a browser has no ALSA.
find_package(SDL2 REQUIRED CONFIG)
if(NOT TARGET SDL2::SDL2)
    add_library(SDL2::SDL2 INTERFACE IMPORTED)
    target_link_libraries(SDL2::SDL2 INTERFACE SDL2::SDL2-static)
endif()

foreach(dependency OpenGL::GL GLEW::GLEW OpenAL::OpenAL ALSA::ALSA)
    if(NOT TARGET ${dependency})
        add_library(${dependency} INTERFACE IMPORTED)
    endif()
endforeach()
target_link_options(OpenGL::GL INTERFACE "SHELL:-s MAX_WEBGL_VERSION=2")
target_link_options(OpenAL::OpenAL INTERFACE -lopenal)
