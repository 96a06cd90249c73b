# Runs at install time, when the final prefix is known (`cmake --install
# --prefix P` may differ from the prefix the build was configured with):
# gives the programs their command names, writes the desktop entries and the
# server's unit with the real paths, and puts in the sample maps.
#
# The sample maps are copied the way the build puts them beside the programs:
# a map already in the installed mapas/ may have been changed in the editor
# and is never overwritten by installing again.
#
# Expects TARNHOLLOW_FUENTE (source folder), TARNHOLLOW_DESTINO_PROGRAMAS and
# TARNHOLLOW_DESTINO_DATOS (relative to the prefix).
set(raiz "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(programas "${raiz}/${TARNHOLLOW_DESTINO_PROGRAMAS}")

# The build names the programs Tarnhollow and editor; as commands they are
# tarnhollow and tarnhollow-editor (Debian has an `editor` of its own).
file(MAKE_DIRECTORY "${raiz}/share/applications")
foreach(par "Tarnhollow;tarnhollow" "editor;tarnhollow-editor")
    list(GET par 0 programa)
    list(GET par 1 comando)
    if(NOT EXISTS "${programas}/${programa}")
        continue()
    endif()
    file(RENAME "${programas}/${programa}" "${programas}/${comando}")
    message(STATUS "Installing: ${programas}/${comando}")
    set(COMANDO "${CMAKE_INSTALL_PREFIX}/${TARNHOLLOW_DESTINO_PROGRAMAS}/${comando}")
    configure_file("${TARNHOLLOW_FUENTE}/packaging/${comando}.desktop.in"
                   "${raiz}/share/applications/${comando}.desktop" @ONLY)
    message(STATUS "Installing: ${raiz}/share/applications/${comando}.desktop")
endforeach()

set(ORIGEN "${TARNHOLLOW_FUENTE}/mapas")
set(DESTINO "${raiz}/${TARNHOLLOW_DESTINO_DATOS}/mapas")
message(STATUS "Installing: ${DESTINO} (sample maps not already there)")
include("${TARNHOLLOW_FUENTE}/cmake/copiarmapas.cmake")

# The dedicated server's unit and its options file. Under /usr they go where
# the system keeps them (/lib/systemd/system, /etc/default); under any other
# prefix, inside it. An options file already there is the admin's: kept.
if(EXISTS "${programas}/tarnhollow-servidor")
    if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
        set(unidades "$ENV{DESTDIR}/lib/systemd/system")
        set(OPCIONES "/etc/default/tarnhollow-servidor")
    else()
        set(unidades "${raiz}/lib/systemd/system")
        set(OPCIONES "${CMAKE_INSTALL_PREFIX}/etc/default/tarnhollow-servidor")
    endif()
    set(COMANDO "${CMAKE_INSTALL_PREFIX}/${TARNHOLLOW_DESTINO_PROGRAMAS}/tarnhollow-servidor")
    set(MAPAS "${CMAKE_INSTALL_PREFIX}/${TARNHOLLOW_DESTINO_DATOS}/mapas")
    configure_file("${TARNHOLLOW_FUENTE}/packaging/tarnhollow-servidor.service.in"
                   "${unidades}/tarnhollow-servidor.service" @ONLY)
    message(STATUS "Installing: ${unidades}/tarnhollow-servidor.service")
    set(opciones "$ENV{DESTDIR}${OPCIONES}")
    if(NOT EXISTS "${opciones}")
        configure_file("${TARNHOLLOW_FUENTE}/packaging/tarnhollow-servidor.default.in"
                       "${opciones}" @ONLY)
        message(STATUS "Installing: ${opciones}")
    endif()
endif()
