# What `cmake --install build --prefix P` (and so the Debian package, with
# P = /usr) puts where, following Debian's places for games:
#   P/games/                   tarnhollow, tarnhollow-editor, tarnhollow-servidor
#   P/share/games/tarnhollow/  mapas/ and sonidos/
#   P/lib/games/tarnhollow/    the game's sound module, loaded at run time
#   P/share/applications, P/share/icons, P/share/metainfo, P/share/man/man6,
#   P/share/doc/tarnhollow, and the server's systemd unit.
# Names that depend on the final prefix (desktop entries, the unit) are
# written at install time by packaging/instalar.cmake.
set(TARNHOLLOW_ID io.github.tarnhollow.Tarnhollow)

foreach(par "Tarnhollow;tarnhollow;tarnhollow.png" "editor;tarnhollow-editor;editor.png")
    list(GET par 0 programa)
    list(GET par 1 comando)
    list(GET par 2 icono)
    if(TARGET ${programa})
        install(TARGETS ${programa} RUNTIME DESTINATION ${TARNHOLLOW_DESTINO_PROGRAMAS})
        install(FILES ${CMAKE_BINARY_DIR}/imagenes/${icono}
                DESTINATION share/icons/hicolor/64x64/apps RENAME ${comando}.png)
    endif()
endforeach()
# The dedicated server, when this tree has one.
if(TARGET tarnhollow-servidor)
    install(TARGETS tarnhollow-servidor RUNTIME DESTINATION ${TARNHOLLOW_DESTINO_PROGRAMAS})
endif()
# A library, not a program: not executable (Debian's policy for shared
# objects).
install(TARGETS tarnhollow-sonido LIBRARY DESTINATION ${TARNHOLLOW_DESTINO_MODULOS}
        PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
install(DIRECTORY ${TARNHOLLOW_BIN}/sonidos/ DESTINATION ${TARNHOLLOW_DESTINO_DATOS}/sonidos
        OPTIONAL FILES_MATCHING PATTERN "*.wav")

# Manual pages and the Debian changelog go in compressed, without a time
# stamp in the gzip header so that two builds give the same bytes.
set(manuales tarnhollow tarnhollow-editor)
if(TARGET tarnhollow-servidor)
    list(APPEND manuales tarnhollow-servidor)
endif()
set(comprimidos)
foreach(m IN LISTS manuales)
    set(origen ${CMAKE_SOURCE_DIR}/packaging/man/${m}.6)
    set(destino ${CMAKE_BINARY_DIR}/paquete/${m}.6.gz)
    add_custom_command(OUTPUT ${destino}
        COMMAND gzip -9n -c ${origen} > ${destino}
        DEPENDS ${origen} VERBATIM)
    list(APPEND comprimidos ${destino})
    install(FILES ${destino} DESTINATION share/man/man6)
endforeach()
set(cambios ${CMAKE_BINARY_DIR}/paquete/changelog.Debian.gz)
add_custom_command(OUTPUT ${cambios}
    COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/packaging/changelog > ${cambios}
    DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog VERBATIM)
add_custom_target(comprimidos ALL DEPENDS ${comprimidos} ${cambios})

install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${cambios} DESTINATION share/doc/tarnhollow)

# Software centres fetch the screenshots (packaging/capturas/) from the
# project's web site.
set(TARNHOLLOW_CAPTURAS "https://tarnhollow.github.io/capturas"
    CACHE STRING "Web folder holding the files of packaging/capturas")
configure_file(${CMAKE_SOURCE_DIR}/packaging/${TARNHOLLOW_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/paquete/${TARNHOLLOW_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/paquete/${TARNHOLLOW_ID}.metainfo.xml DESTINATION share/metainfo)

install(CODE "set(TARNHOLLOW_FUENTE \"${CMAKE_SOURCE_DIR}\")
              set(TARNHOLLOW_DESTINO_PROGRAMAS \"${TARNHOLLOW_DESTINO_PROGRAMAS}\")
              set(TARNHOLLOW_DESTINO_DATOS \"${TARNHOLLOW_DESTINO_DATOS}\")")
install(SCRIPT ${CMAKE_SOURCE_DIR}/packaging/instalar.cmake)
