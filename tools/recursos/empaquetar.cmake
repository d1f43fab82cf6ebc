# Packs the generated fonts and images into datas.dat. The program reaches
# the objects by index, so the order below is the file's interface.
# Run as: cmake -DDAT=... -DDIR=... -DSALIDA=... -P empaquetar.cmake

foreach(var DAT DIR SALIDA)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "empaquetar.cmake: falta -D${var}=...")
  endif()
endforeach()

# Index 0..3 fonts, 4 second title card, 5 first title card, 6 help.
# The file names also sort in this order, so even a sorting dat keeps it.
# dat names each object after its file (FUENTE0_CELDAS_FNT, ...): the batch
# command reads the fonts alone by those names.
set(FUENTES
  ${DIR}/fuente0_celdas.fnt
  ${DIR}/fuente1_cabeceras.fnt
  ${DIR}/fuente2_titulos.fnt
  ${DIR}/fuente3_ejes.fnt)
set(IMAGENES
  ${DIR}/imagen4_portada2.bmp
  ${DIR}/imagen5_portada1.bmp
  ${DIR}/imagen6_ayuda.bmp)

foreach(f ${FUENTES} ${IMAGENES})
  if(NOT EXISTS ${f})
    message(FATAL_ERROR "empaquetar.cmake: no existe ${f}")
  endif()
endforeach()

# Starting from nothing makes the result depend only on the inputs; -s1
# drops dates, source paths and the grabber info object, which would
# otherwise differ between builds and take an index of its own. -c1
# compresses each object on its own, so the batch command reaches its fonts
# without unpacking them again for every font it asks for.
file(REMOVE ${SALIDA})

function(ejecutar_dat)
  execute_process(COMMAND ${DAT} ${SALIDA} -n0 -s1 -c1 ${ARGN}
    RESULT_VARIABLE resultado OUTPUT_VARIABLE salida ERROR_VARIABLE salida)
  if(NOT resultado EQUAL 0)
    file(REMOVE ${SALIDA})
    message(FATAL_ERROR "empaquetar.cmake: dat falló (${resultado}):\n${salida}")
  endif()
endfunction()

ejecutar_dat(-t FONT -a ${FUENTES})
ejecutar_dat(-t BMP -bpp 32 -a ${IMAGENES})

if(NOT EXISTS ${SALIDA})
  message(FATAL_ERROR "empaquetar.cmake: dat no creó ${SALIDA}")
endif()
