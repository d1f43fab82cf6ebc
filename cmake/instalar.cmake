# Installing Pasadas (cmake --install) and its Debian package (the target
# "package", CPack's DEB generator). The programs go to bin/ and find
# datas.dat in share/pasadas/ beside it, so an installed and a built program
# both run; the sample data, the menu entry with its icon, the Spanish
# manual pages, the user's guide and the methods page, and the package's
# copyright and changelog come along.
include(GNUInstallDirs)
set(DIR_PAQUETE ${CMAKE_SOURCE_DIR}/paquete)
set(DIR_DOC_PAQUETE ${CMAKE_INSTALL_DATADIR}/doc/pasadas)

install(TARGETS pasadas pasadas-informe RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${DATAS} ${DATOS_MUESTRA} DESTINATION ${CMAKE_INSTALL_DATADIR}/pasadas)
install(FILES ${DIR_PAQUETE}/pasadas.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(lado 48 256)
  install(FILES ${DIR_RECURSOS}/pasadas${lado}.png RENAME pasadas.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${lado}x${lado}/apps)
endforeach()

# Debian keeps manual pages and changelogs compressed, without a date in
# the gzip header, so that two builds give the same package.
find_program(GZIP_PROGRAMA gzip REQUIRED)
set(DIR_COMPRIMIDOS ${CMAKE_BINARY_DIR}/paquete)
set(COMPRIMIDOS)
foreach(f pasadas.1 pasadas-informe.1 changelog)
  add_custom_command(
    OUTPUT ${DIR_COMPRIMIDOS}/${f}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${DIR_COMPRIMIDOS}
    COMMAND ${GZIP_PROGRAMA} -9nc ${DIR_PAQUETE}/${f} > ${DIR_COMPRIMIDOS}/${f}.gz
    DEPENDS ${DIR_PAQUETE}/${f})
  list(APPEND COMPRIMIDOS ${DIR_COMPRIMIDOS}/${f}.gz)
endforeach()
add_custom_target(paginas_comprimidas ALL DEPENDS ${COMPRIMIDOS})

# The pages are in Spanish: under es/ for a Spanish locale, and as the
# default pages too, since there are no others.
foreach(dir es/man1 man1)
  install(FILES ${DIR_COMPRIMIDOS}/pasadas.1.gz ${DIR_COMPRIMIDOS}/pasadas-informe.1.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/${dir})
endforeach()
install(FILES ${DIR_PAQUETE}/copyright ${DIR_COMPRIMIDOS}/changelog.gz
        DESTINATION ${DIR_DOC_PAQUETE})

# The user's guide and the methods page, as Markdown and as HTML made here by
# Debian's python3-markdown (the system's Python, whose module it is), with
# the screenshots beside them.
find_program(PYTHON_SISTEMA python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
execute_process(COMMAND ${PYTHON_SISTEMA} -c "import markdown" RESULT_VARIABLE SIN_MARKDOWN
                OUTPUT_QUIET ERROR_QUIET)
if(SIN_MARKDOWN)
  message(FATAL_ERROR "python3-markdown is missing: run bash tools/preparar.sh")
endif()
set(DIR_DOCS ${CMAKE_SOURCE_DIR}/docs)
set(PAGINAS_HTML)
foreach(pagina guia metodos)
  add_custom_command(
    OUTPUT ${DIR_COMPRIMIDOS}/${pagina}.html
    COMMAND ${CMAKE_COMMAND} -E make_directory ${DIR_COMPRIMIDOS}
    COMMAND ${PYTHON_SISTEMA} ${CMAKE_SOURCE_DIR}/cmake/pagina_html.py ${DIR_DOCS}/${pagina}.md
            ${DIR_COMPRIMIDOS}/${pagina}.html
    DEPENDS ${DIR_DOCS}/${pagina}.md ${CMAKE_SOURCE_DIR}/cmake/pagina_html.py)
  list(APPEND PAGINAS_HTML ${DIR_COMPRIMIDOS}/${pagina}.html)
endforeach()
add_custom_target(documentos_html ALL DEPENDS ${PAGINAS_HTML})
file(GLOB CAPTURAS_GUIA CONFIGURE_DEPENDS ${DIR_DOCS}/*.png)
install(FILES ${DIR_DOCS}/guia.md ${DIR_DOCS}/metodos.md ${PAGINAS_HTML} ${CAPTURAS_GUIA}
        DESTINATION ${DIR_DOC_PAQUETE})

# VERSION_PAQUETE: the changelog's latest entry, read by the top CMakeLists.txt.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pasadas)
set(CPACK_PACKAGE_VERSION ${VERSION_PAQUETE})
set(CPACK_PACKAGE_CONTACT "Pasadas maintainers <maintainers@users.noreply.c-seed-d888f521.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "fish population estimates from removal sampling")
# The long description, under the summary; an empty line between paragraphs.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "\
Pasadas is a desktop program, in Spanish, for fisheries biologists who
sample a reach of river by successive removal passes. From the pass,
length, weight and age class of every fish it computes age-class
frequencies, mean lengths and weights, Zippin removal estimates of the
population, density and biomass of the reach, the weight-length
relationship and growth curves (von Bertalanffy and polynomial).

The package holds the keyboard-driven window program pasadas and the
batch command pasadas-informe, which writes the same results report and
graph images from a script.")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # pasadas_VERSION_ARCH.deb
# Dependencies from the libraries the programs link (the Allegro 4 runtime,
# the C and C++ libraries), found by dpkg-shlibdeps; nothing from the build.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
