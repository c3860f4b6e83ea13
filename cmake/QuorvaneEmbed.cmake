# quorvane_embed_file(<target> <symbol> <file>)
# Compiles the bytes of <file> into <target>. Code reads them through the generated header
# "embedded/<symbol>.h", which declares `std::span<const unsigned char> <symbol>()`.
function(quorvane_embed_file target symbol file)
    set(output_folder "${CMAKE_CURRENT_BINARY_DIR}/embedded")
    set(header "${output_folder}/embedded/${symbol}.h")
    set(source "${output_folder}/${symbol}.cpp")
    add_custom_command(
        OUTPUT "${header}" "${source}"
        COMMAND "${CMAKE_COMMAND}" -DSYMBOL=${symbol} -DINPUT=${file} -DHEADER=${header} -DSOURCE=${source}
                -P "${PROJECT_SOURCE_DIR}/cmake/EmbedFile.cmake"
        DEPENDS "${file}" "${PROJECT_SOURCE_DIR}/cmake/EmbedFile.cmake"
        COMMENT "Embedding ${symbol}"
        VERBATIM)
    target_sources(${target} PRIVATE "${header}" "${source}")
    target_include_directories(${target} PRIVATE "${output_folder}")
endfunction()
