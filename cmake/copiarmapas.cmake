# Puts the sample maps beside the programs. A map that is already there is
# left alone: the user may have edited and saved it in the editor.
file(GLOB mapas "${ORIGEN}/*.mapa")
file(MAKE_DIRECTORY "${DESTINO}")
foreach(mapa IN LISTS mapas)
    get_filename_component(nombre "${mapa}" NAME)
    if(NOT EXISTS "${DESTINO}/${nombre}")
        file(COPY "${mapa}" DESTINATION "${DESTINO}")
    endif()
endforeach()
