if(EXISTS ${ZAVORO_RC_SAIDA}/logoMorvel.bmp)
    include(${CMAKE_SOURCE_DIR}/cmake/janelaWin32.cmake)
else()
    message(STATUS "${ZAVORO_RC_SAIDA} has no pictures (build the Linux tree first): no quibar-zavoro.exe")
endif()

# Windows layout and installer: every program and the help in one folder (zavoro finds its helper
# programs beside itself, the app its help), packed by NSIS (installer/zavoro.nsi).
set(zavoro_programas_windows zavoro zavoro-exportacao)
foreach(alvo IN ITEMS quibar-zavoro zavoro-desenho)
    if(TARGET ${alvo})
        list(APPEND zavoro_programas_windows ${alvo})
    endif()
endforeach()
install(TARGETS ${zavoro_programas_windows} RUNTIME DESTINATION .)
if(EXISTS "${ZAVORO_AJUDA_PDF}")
    install(FILES "${ZAVORO_AJUDA_PDF}" DESTINATION .)
endif()

find_program(ZAVORO_MAKENSIS makensis)
set(ZAVORO_INSTALADOR ${CMAKE_BINARY_DIR}/quibar-zavoro-${PROJECT_VERSION}-instalador.exe)
set(ZAVORO_INSTALADOR_PASTA ${CMAKE_BINARY_DIR}/instalador)
if(ZAVORO_MAKENSIS)
    add_custom_target(zavoro_instalador
        COMMAND ${CMAKE_COMMAND} -E rm -rf ${ZAVORO_INSTALADOR_PASTA}
        COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${ZAVORO_INSTALADOR_PASTA}
        COMMAND ${ZAVORO_MAKENSIS} -V2 -INPUTCHARSET UTF8
                "-DVERSAO=${PROJECT_VERSION}" "-DVERSAO_EXIBIDA=${ZAVORO_VERSAO_EXIBIDA}"
                "-DORIGEM=${ZAVORO_INSTALADOR_PASTA}" "-DSAIDA=${ZAVORO_INSTALADOR}"
                "-DICONE=${CMAKE_BINARY_DIR}/rc/quibar-zavoro.ico"
                ${CMAKE_SOURCE_DIR}/installer/zavoro.nsi
        DEPENDS ${zavoro_programas_windows}
        COMMENT "Gerando o instalador do Windows"
        VERBATIM)
else()
    message(STATUS "makensis not found: no Windows installer")
endif()

# The installer under Wine (label windows): silent install, the installed command, silent uninstall.
if(ZAVORO_MAKENSIS AND ZAVORO_WINE)
    add_test(NAME Instalador.SilenciosoSobWine
        COMMAND bash ${CMAKE_SOURCE_DIR}/tests/windows/instalador.sh ${ZAVORO_INSTALADOR}
                ${CMAKE_BINARY_DIR}/wine-instalador
                ${PROJECT_VERSION})
    set_tests_properties(Instalador.SilenciosoSobWine PROPERTIES LABELS windows RUN_SERIAL TRUE)
endif()
