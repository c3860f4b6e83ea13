# Debian packages made by cpack from a build configured for /usr:
#   cmake -S . -B build/package -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
#         -DQUORVANE_GAME_BINDIR=games
#   cmake --build build/package --target package   ->  build/package/quorvane_*.deb, quorvane-dev_*.deb
# quorvane: the game (binary, data, desktop entry, icons, AppStream metadata, manual page), its
# dependencies read from the binary by dpkg-shlibdeps. quorvane-dev: the kits for developers
# (static libraries, headers, the CMake package, the asset tools), depending on the -dev packages
# the kits' CMake package finds.
find_program(QUORVANE_GZIP gzip REQUIRED)
# Debian keeps manual pages compressed, without a time stamp so that builds are reproducible.
function(quorvane_install_manual_page page section component)
    set(compressed "${PROJECT_BINARY_DIR}/man/${page}.${section}.gz")
    add_custom_command(OUTPUT "${compressed}"
        COMMAND "${CMAKE_COMMAND}" -E make_directory "${PROJECT_BINARY_DIR}/man"
        COMMAND "${QUORVANE_GZIP}" -9nc "${PROJECT_SOURCE_DIR}/docs/man/${page}.${section}" > "${compressed}"
        DEPENDS "${PROJECT_SOURCE_DIR}/docs/man/${page}.${section}" VERBATIM)
    add_custom_target(manual_page_${page} ALL DEPENDS "${compressed}")
    install(FILES "${compressed}" DESTINATION "${CMAKE_INSTALL_MANDIR}/man${section}" COMPONENT ${component})
endfunction()
if(QUORVANE_INSTALL_GAME)
    quorvane_install_manual_page(quorvane 6 game)
endif()
quorvane_install_manual_page(quorvane-mesh 1 kits)
quorvane_install_manual_page(quorvane-atlas 1 kits)

# Each package's copyright file and changelog, in /usr/share/doc/<package>. The font's stanza,
# with its licence in full, is taken from the font's own notice.
file(READ "${PROJECT_SOURCE_DIR}/docs/debian/copyright" copyright)
file(STRINGS "${PROJECT_SOURCE_DIR}/source/marrowgate/graphics/fonts/Comfortaa-OFL.txt" font_notice)
list(FIND font_notice "Files: *" font_stanza)
list(SUBLIST font_notice ${font_stanza} -1 font_notice)
list(REMOVE_AT font_notice 0)
list(JOIN font_notice "\n" font_notice)
file(WRITE "${PROJECT_BINARY_DIR}/debian/copyright" "${copyright}${font_notice}\n")
add_custom_command(OUTPUT "${PROJECT_BINARY_DIR}/debian/changelog.Debian.gz"
    COMMAND "${QUORVANE_GZIP}" -9nc "${PROJECT_SOURCE_DIR}/docs/debian/changelog" > "${PROJECT_BINARY_DIR}/debian/changelog.Debian.gz"
    DEPENDS "${PROJECT_SOURCE_DIR}/docs/debian/changelog" VERBATIM)
add_custom_target(debian_changelog ALL DEPENDS "${PROJECT_BINARY_DIR}/debian/changelog.Debian.gz")
foreach(package_component quorvane:game quorvane-dev:kits)
    string(REPLACE ":" ";" package_component "${package_component}")
    list(GET package_component 0 package)
    list(GET package_component 1 component)
    install(FILES "${PROJECT_BINARY_DIR}/debian/copyright" "${PROJECT_BINARY_DIR}/debian/changelog.Debian.gz"
            DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/doc/${package}" COMPONENT ${component})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_VENDOR "Wrenfold")
set(CPACK_PACKAGE_CONTACT "Wrenfold <games@wrenfold.example>")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL game kits)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

# Each package's description below starts with its own synopsis line. CPack would put a
# project-wide summary in front of both, unless that summary is its default one, named here.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_NAME} built using CMake")

set(CPACK_DEBIAN_GAME_PACKAGE_NAME quorvane)
set(CPACK_DEBIAN_GAME_PACKAGE_SECTION games)
set(CPACK_DEBIAN_GAME_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_GAME_DESCRIPTION "small real-time 3D arcade game
Drive a car over an endless grid and collect the memory chip: every chip
raises the score, and the best score of the run is kept in the other corner.
There is no game over. Keyboard, mouse and game controllers are supported.")

set(CPACK_DEBIAN_KITS_PACKAGE_NAME quorvane-dev)
set(CPACK_DEBIAN_KITS_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_KITS_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_KITS_PACKAGE_DEPENDS
    "cmake (>= 3.25), pkg-config, libsdl2-dev, libglew-dev, libgl-dev, libopenal-dev, libasound2-dev, libstb-dev")
set(CPACK_DEBIAN_KITS_DESCRIPTION "Marrowgate, Cinderhall and Orrery game kits for developers
The kits Quorvane is made with: Marrowgate (window, fixed-step game loop,
scenes, 2D graphics, text, input, audio, JSON), Cinderhall (meshes, shaders,
3D camera, lighting, lines) and Orrery (3D entities and collision), as static
libraries with their headers and a CMake package (find_package(Quorvane)),
quorvane-mesh, which converts Wavefront OBJ models to the kits' meshes, and
quorvane-atlas, which packs a folder of images into one sprite atlas.")

include(CPack)
