# quorvane_add_web_page(<target> [TITLE <title>] [DATA <folder>@<path in the page's files> ...]
#                       [EXCLUDE <file name pattern> ...])
# In a web build (emscripten), makes <target> a page: <target>.js and .wasm, a <target>.data
# package of the given folders, preloaded into the page's file system before main runs, and
# <target>.html beside them, which any static web server can serve. Elsewhere it does nothing,
# so a game's CMakeLists.txt calls it unconditionally.
set(QUORVANE_WEB_PAGE_TEMPLATE "${CMAKE_CURRENT_LIST_DIR}/web/page.html.in")

function(quorvane_add_web_page target)
    if(NOT EMSCRIPTEN)
        return()
    endif()
    cmake_parse_arguments(PARSE_ARGV 1 ARG "" "TITLE" "DATA;EXCLUDE")
    if(NOT ARG_TITLE)
        set(ARG_TITLE "${target}")
    endif()
    set_target_properties(${target} PROPERTIES SUFFIX ".js")
    foreach(pattern IN LISTS ARG_EXCLUDE)
        target_link_options(${target} PRIVATE "SHELL:--exclude-file '${pattern}'")
    endforeach()
    foreach(mapping IN LISTS ARG_DATA)
        target_link_options(${target} PRIVATE "SHELL:--preload-file ${mapping}")
        string(REGEX REPLACE "@.*$" "" folder "${mapping}")
        # The package is rebuilt when a file in it changes.
        file(GLOB_RECURSE data_files CONFIGURE_DEPENDS "${folder}/*")
        set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${data_files})
    endforeach()
    get_target_property(output_name ${target} OUTPUT_NAME)
    if(NOT output_name)
        set(output_name ${target})
    endif()
    set(QUORVANE_PAGE_TITLE "${ARG_TITLE}")
    set(QUORVANE_PAGE_SCRIPT "${output_name}.js")
    get_target_property(output_folder ${target} RUNTIME_OUTPUT_DIRECTORY)
    if(NOT output_folder)
        set(output_folder "${CMAKE_CURRENT_BINARY_DIR}")
    endif()
    configure_file("${QUORVANE_WEB_PAGE_TEMPLATE}" "${output_folder}/${output_name}.html" @ONLY)
endfunction()
