# `make package` (cpack -G DEB in the build folder): tarnhollow_VERSION_ARCH.deb
# from the same install rules as `cmake --install`, with prefix /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarnhollow)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_VENDOR "Tarnhollow")
set(TARNHOLLOW_MANTENEDOR "Tarnhollow <tarnhollow@example.org>"
    CACHE STRING "Maintainer named in the Debian package")
set(CPACK_PACKAGE_CONTACT "${TARNHOLLOW_MANTENEDOR}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TARNHOLLOW_MANTENEDOR}")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Library dependencies come from the binaries, the sound module among them
# (the game loads it at run time, so Qt Multimedia and the audio libraries
# are the module's dependencies, not the game's); Qt loads the X11 platform
# plugin and the sound back end at run time, so those are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Qt's Spanish catalogue puts "Aceptar", "Sí" and "No" on its buttons.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# CPack indents every line after the first itself.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"team fighting game on a tiled map seen from above, with a map editor
Tarnhollow is a real-time fighting game with a Spanish interface. You fight
as a swordsman (Guerrero) or an archer (Arquero) in a team of computer
fighters against another team on a map of square tiles. Fallen fighters
come back after a while, and every seventh kill makes a fighter stronger.
.
The package also holds tarnhollow-editor, which paints the terrain of a map
and places both teams' starts, and five sample maps.")

# The dedicated server brings its unit, options file and the scripts that
# stop it and tell systemd when the package goes.
if(TARGET tarnhollow-servidor)
    string(APPEND CPACK_DEBIAN_PACKAGE_DESCRIPTION "
.
tarnhollow-servidor runs a match with no window for players to join over
the network; its systemd unit is installed but not enabled.")
    set(control ${CMAKE_BINARY_DIR}/paquete/control)
    file(MAKE_DIRECTORY ${control})
    file(WRITE ${control}/conffiles "/etc/default/tarnhollow-servidor\n")
    foreach(guion prerm postrm)
        configure_file(${CMAKE_SOURCE_DIR}/packaging/debian/${guion} ${control}/${guion}
                       COPYONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
                       GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    endforeach()
    set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
        ${control}/conffiles ${control}/prerm ${control}/postrm)
endif()

include(CPack)
