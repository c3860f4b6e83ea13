# Runs the game's asset generator into a scratch folder and checks that it reproduces the
# committed files byte for byte, so the data and the generator cannot drift apart.
# Script mode: cmake -DGENERATOR=... -DDATA_DIR=... -DSCRATCH_DIR=... -P game_assets_reproduce.cmake
file(REMOVE_RECURSE "${SCRATCH_DIR}")
execute_process(COMMAND "${GENERATOR}" "${SCRATCH_DIR}" RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the generator failed (${result}): ${errors}")
endif()
file(GLOB_RECURSE generated RELATIVE "${SCRATCH_DIR}" "${SCRATCH_DIR}/*")
if(NOT generated)
    message(FATAL_ERROR "the generator wrote nothing")
endif()
foreach(file IN LISTS generated)
    execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${SCRATCH_DIR}/${file}" "${DATA_DIR}/${file}"
                    RESULT_VARIABLE different)
    if(NOT different EQUAL 0)
        message(FATAL_ERROR "data/${file} differs from what the generator makes; run it again and commit")
    endif()
endforeach()
file(REMOVE_RECURSE "${SCRATCH_DIR}")
