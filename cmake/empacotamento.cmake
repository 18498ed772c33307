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

include(CPack)
