# The kits as an installable CMake package (install component "kits"):
#   <prefix>/lib/libmarrowgate_*.a, libcinderhall.a, liborrery.a (embedded assets inside)
#   <prefix>/include/{marrowgate,cinderhall,orrery}/...  the headers a game includes
#   <prefix>/lib/cmake/Quorvane/                          config, version and exported targets
#   <prefix>/bin/quorvane-mesh                            the mesh tool (tools/mesh_tool)
#   <prefix>/bin/quorvane-atlas                           the atlas packer (tools/atlas_tool)
# A consumer writes find_package(Quorvane 1.0 REQUIRED) and links Quorvane::marrowgate,
# Quorvane::cinderhall or Quorvane::orrery, exactly as a project that uses add_subdirectory.
# The target quorvane_kits builds exactly what the component installs, and nothing else.
include(CMakePackageConfigHelpers)

set(QUORVANE_PACKAGE_DIR "${CMAKE_INSTALL_LIBDIR}/cmake/Quorvane")
set(quorvane_kit_targets marrowgate_core marrowgate_math marrowgate_graphics marrowgate_application
    marrowgate_audio marrowgate_game marrowgate cinderhall orrery)
if(EMSCRIPTEN)
    list(APPEND quorvane_kit_targets marrowgate_stb)
endif()

add_custom_target(quorvane_kits)
add_dependencies(quorvane_kits ${quorvane_kit_targets})
# The asset tools run on the machine that builds; a web build has none.
if(NOT EMSCRIPTEN)
    add_dependencies(quorvane_kits quorvane-mesh quorvane-atlas)
endif()

install(TARGETS ${quorvane_kit_targets} EXPORT QuorvaneTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT kits)
install(EXPORT QuorvaneTargets NAMESPACE Quorvane:: DESTINATION "${QUORVANE_PACKAGE_DIR}" COMPONENT kits)

# Implementation headers stay behind, except the few that public headers include.
foreach(kit marrowgate cinderhall orrery)
    install(DIRECTORY "${PROJECT_SOURCE_DIR}/source/${kit}" DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT kits
            FILES_MATCHING PATTERN "*.h"
            PATTERN "implementation" EXCLUDE PATTERN "test_cases" EXCLUDE
            PATTERN "assets" EXCLUDE PATTERN "sounds" EXCLUDE)
endforeach()
set(marrowgate_headers "${PROJECT_SOURCE_DIR}/source/marrowgate")
install(FILES "${marrowgate_headers}/graphics/implementation/mgi_renderer.h"
              "${marrowgate_headers}/graphics/implementation/mgi_gl_name.h"
        DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}/marrowgate/graphics/implementation" COMPONENT kits)
install(FILES "${marrowgate_headers}/audio/implementation/mgi_audio_data.h"
        DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}/marrowgate/audio/implementation" COMPONENT kits)

configure_package_config_file("${CMAKE_CURRENT_LIST_DIR}/QuorvaneConfig.cmake.in"
    "${PROJECT_BINARY_DIR}/QuorvaneConfig.cmake" INSTALL_DESTINATION "${QUORVANE_PACKAGE_DIR}")
# 1.x consumers get any 1.y release; a newer major version is refused by CMake's version check.
write_basic_package_version_file("${PROJECT_BINARY_DIR}/QuorvaneConfigVersion.cmake"
    COMPATIBILITY SameMajorVersion)
install(FILES "${PROJECT_BINARY_DIR}/QuorvaneConfig.cmake" "${PROJECT_BINARY_DIR}/QuorvaneConfigVersion.cmake"
              "${PROJECT_SOURCE_DIR}/cmake/QuorvaneWeb.cmake" "${PROJECT_SOURCE_DIR}/cmake/QuorvaneWebDependencies.cmake"
              "${PROJECT_SOURCE_DIR}/cmake/QuorvaneWebToolchain.cmake"
        DESTINATION "${QUORVANE_PACKAGE_DIR}" COMPONENT kits)
install(FILES "${PROJECT_SOURCE_DIR}/cmake/web/page.html.in" "${PROJECT_SOURCE_DIR}/cmake/web/exit_when_main_returns.js"
        DESTINATION "${QUORVANE_PACKAGE_DIR}/web" COMPONENT kits)
