# Shared settings for every target of the project. Flags are set per target, never
# globally, so the project stays well-behaved when pulled in with add_subdirectory.

function(quorvane_configure_target target)
    target_compile_features(${target} PUBLIC cxx_std_20)
    set_target_properties(${target} PROPERTIES CXX_EXTENSIONS OFF)
    if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
        if(QUORVANE_WARNINGS_AS_ERRORS)
            target_compile_options(${target} PRIVATE -Werror)
        endif()
        if(QUORVANE_SANITIZE)
            target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                     -fno-sanitize-recover=undefined)
            target_link_options(${target} PUBLIC -fsanitize=address,undefined)
        endif()
    endif()
endfunction()

# A library made of every .cpp under one source folder (recursively), with a namespaced alias.
function(quorvane_add_library target folder)
    cmake_parse_arguments(PARSE_ARGV 2 ARG "" "" "PUBLIC_LINKS;PRIVATE_LINKS;EXCLUDE")
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${folder}/*.cpp" "${folder}/*.h")
    foreach(excluded IN LISTS ARG_EXCLUDE)
        list(FILTER sources EXCLUDE REGEX "${excluded}")
    endforeach()
    set(compiled ${sources})
    list(FILTER compiled INCLUDE REGEX "\\.cpp$")
    if(NOT compiled)
        # A layer that is still headers only.
        add_library(${target} INTERFACE ${sources})
        target_include_directories(${target} INTERFACE "$<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/source>"
                                                       "$<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>")
        target_link_libraries(${target} INTERFACE ${ARG_PUBLIC_LINKS} ${ARG_PRIVATE_LINKS})
        target_compile_features(${target} INTERFACE cxx_std_20)
        add_library(Quorvane::${target} ALIAS ${target})
        return()
    endif()
    add_library(${target} STATIC ${sources})
    add_library(Quorvane::${target} ALIAS ${target})
    target_include_directories(${target} PUBLIC
        "$<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/source>" "$<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>")
    target_link_libraries(${target} PUBLIC ${ARG_PUBLIC_LINKS} PRIVATE ${ARG_PRIVATE_LINKS})
    quorvane_configure_target(${target})
endfunction()
