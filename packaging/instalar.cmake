# Runs at install time, when the final prefix is known (`cmake --install
# --prefix P` may differ from the prefix the build was configured with):
# writes the desktop entries with the programs' real paths and puts the
# command-line names in bin/.
#
# The sample maps are copied the way the build puts them beside the programs:
# a map already in the installed mapas/ may have been changed in the editor
# and is never overwritten by installing again.
#
# Expects TARNHOLLOW_FUENTE (source folder) and TARNHOLLOW_CARPETA (program
# folder, relative to the prefix).
set(raiz "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(PROGRAMAS "${CMAKE_INSTALL_PREFIX}/${TARNHOLLOW_CARPETA}")

# Links, not copies, in bin/: the programs look for mapas/ and sonidos/
# beside their own executable, which the kernel reports through the link.
# The editor is not called plain `editor` there, where Debian's own lives.
file(MAKE_DIRECTORY "${raiz}/bin" "${raiz}/share/applications")
foreach(par "Tarnhollow;tarnhollow" "editor;tarnhollow-editor")
    list(GET par 0 programa)
    list(GET par 1 nombre)
    if(NOT EXISTS "${raiz}/${TARNHOLLOW_CARPETA}/${programa}")
        continue()
    endif()
    file(CREATE_LINK "../${TARNHOLLOW_CARPETA}/${programa}" "${raiz}/bin/${nombre}" SYMBOLIC)
    message(STATUS "Installing: ${raiz}/bin/${nombre}")
    configure_file("${TARNHOLLOW_FUENTE}/packaging/${nombre}.desktop.in"
                   "${raiz}/share/applications/${nombre}.desktop" @ONLY)
    message(STATUS "Installing: ${raiz}/share/applications/${nombre}.desktop")
endforeach()

set(ORIGEN "${TARNHOLLOW_FUENTE}/mapas")
set(DESTINO "${raiz}/${TARNHOLLOW_CARPETA}/mapas")
message(STATUS "Installing: ${DESTINO} (sample maps not already there)")
include("${TARNHOLLOW_FUENTE}/cmake/copiarmapas.cmake")
