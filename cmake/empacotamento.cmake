# Install layout and the Debian package (cpack -G DEB).
include(GNUInstallDirs)

# The desktop app finds its help in ../share/quibar-zavoro/ beside its bin folder; other layouts
# install fine but leave the help where the app will not look.
file(RELATIVE_PATH zavoro_bin_para_dados "/${CMAKE_INSTALL_BINDIR}" "/${CMAKE_INSTALL_DATADIR}")
if(NOT zavoro_bin_para_dados STREQUAL "../share")
    message(WARNING "CMAKE_INSTALL_DATADIR não fica em ../share a partir de CMAKE_INSTALL_BINDIR: "
                    "o programa não encontrará a ajuda instalada")
endif()

# zavoro runs zavoro-desenho and zavoro-exportacao from its own folder: all go to the same one.
install(TARGETS quibar-zavoro zavoro zavoro-desenho zavoro-exportacao RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# ZAVORO_AJUDA_PDF, ZAVORO_RC_SAIDA and ZAVORO_RC_TAMANHOS_ICONE come from rc/CMakeLists.txt.
install(FILES "${ZAVORO_AJUDA_PDF}" DESTINATION ${CMAKE_INSTALL_DATADIR}/quibar-zavoro)
install(FILES ${CMAKE_SOURCE_DIR}/rc/quibar-zavoro.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(tamanho IN LISTS ZAVORO_RC_TAMANHOS_ICONE)
    install(FILES ${ZAVORO_RC_SAIDA}/icoQuibar_${tamanho}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${tamanho}x${tamanho}/apps
            RENAME quibar-zavoro.png)
endforeach()

# What a Debian system expects beside the programs: the navigation files' MIME type (file managers
# open them with the app), bash completion for the command, man pages, the copyright and changelog.
install(FILES ${CMAKE_SOURCE_DIR}/rc/quibar-zavoro-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME quibar-zavoro.xml)
install(FILES ${CMAKE_SOURCE_DIR}/rc/zavoro.bash-completion DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME zavoro)

# Man pages and the changelog carry the project's version and are compressed as Debian wants them
# (gzip -9n: no name or time stamp inside, so the same sources give the same bytes).
find_program(ZAVORO_GZIP gzip REQUIRED)
set(zavoro_pacote ${CMAKE_BINARY_DIR}/pacote)
set(zavoro_comprimidos)
foreach(pagina zavoro quibar-zavoro)
    configure_file(${CMAKE_SOURCE_DIR}/docs/man/${pagina}.1.in ${zavoro_pacote}/${pagina}.1 @ONLY)
    list(APPEND zavoro_comprimidos ${pagina}.1)
endforeach()
# The helper programs are documented in zavoro(1), which their pages point to.
foreach(auxiliar zavoro-desenho zavoro-exportacao)
    file(CONFIGURE OUTPUT ${zavoro_pacote}/${auxiliar}.1 CONTENT ".so man1/zavoro.1\n")
    list(APPEND zavoro_comprimidos ${auxiliar}.1)
endforeach()
configure_file(${CMAKE_SOURCE_DIR}/cmake/pacote/changelog.in ${zavoro_pacote}/changelog @ONLY)
list(APPEND zavoro_comprimidos changelog)
set(zavoro_gz)
foreach(arquivo IN LISTS zavoro_comprimidos)
    add_custom_command(OUTPUT ${zavoro_pacote}/${arquivo}.gz
        COMMAND ${ZAVORO_GZIP} -9nf -k ${arquivo}
        DEPENDS ${zavoro_pacote}/${arquivo}
        WORKING_DIRECTORY ${zavoro_pacote}
        VERBATIM)
    list(APPEND zavoro_gz ${zavoro_pacote}/${arquivo}.gz)
endforeach()
add_custom_target(zavoro_documentos_pacote ALL DEPENDS ${zavoro_gz})
list(FILTER zavoro_gz INCLUDE REGEX "\\.1\\.gz$")
install(FILES ${zavoro_gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${zavoro_pacote}/changelog.gz ${CMAKE_SOURCE_DIR}/cmake/pacote/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quibar-zavoro)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quibar-zavoro)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Equipe Quibar Zavoro")
set(CPACK_PACKAGE_CONTACT "Equipe Quibar Zavoro <equipe@quibar-zavoro.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "relatórios, mapas KML e Shapefile dos arquivos de navegação Zavoro")
# Debian wants the long description in lines of at most 80 columns.
set(CPACK_PACKAGE_DESCRIPTION
    "O Quibar Zavoro lê os arquivos de navegação (.nvg) gravados pelo console
de direcionamento e controle de taxa Zavoro e gera, para cada trabalho, um
relatório em texto, um mapa KML (cobertura por taxa aplicada ou por
velocidade) para o Google Earth ou o QGIS e um conjunto Shapefile da
cobertura. Também compara um mapa de recomendação (taxa variável) com o
trabalho realizado.
.
Inclui o programa de janelas quibar-zavoro, o comando zavoro para scripts e
a ajuda em PDF.")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Equipe Quibar Zavoro <equipe@quibar-zavoro.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps (dpkg-dev) reads the binaries' libraries: Qt, the C++ runtime.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window's narrow sans face and the drawings' sans font: without them the dialog and the pictures
# fall back to other metrics.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2, fonts-dejavu-core")

include(CPack)

# The package judged by lintian (label peer); skipped where lintian is missing.
add_test(NAME Pacote.Lintian COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/verificar_pacote.sh ${CMAKE_BINARY_DIR})
set_tests_properties(Pacote.Lintian PROPERTIES LABELS peer SKIP_RETURN_CODE 77 TIMEOUT 900)
