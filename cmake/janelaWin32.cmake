# The desktop application on Windows: the toolkit-free window logic behind a Win32 adapter, its map
# pictures on GDI. Its icon and logo are the ones the Linux build draws.
zavoro_fontes(ZAVORO_DESENHOGDI_SOURCES source/desenhoGdi)
add_library(zavoro_desenhogdi STATIC ${ZAVORO_DESENHOGDI_SOURCES})
target_include_directories(zavoro_desenhogdi PUBLIC ${CMAKE_SOURCE_DIR}/source)
target_link_libraries(zavoro_desenhogdi PUBLIC zavoro_core gdi32)

zavoro_fontes(ZAVORO_JANELAWIN32_SOURCES source/principalWin32)
list(REMOVE_ITEM ZAVORO_JANELAWIN32_SOURCES ${CMAKE_SOURCE_DIR}/source/principalWin32/main.cpp)
add_library(zavoro_janelawin32 STATIC ${ZAVORO_JANELAWIN32_SOURCES})
target_link_libraries(zavoro_janelawin32 PUBLIC zavoro_principal zavoro_desenhogdi
                      comctl32 comdlg32 shell32 ole32 user32 gdi32)

# The icon: the drawn pictures packed into one .ico, under Wine, at build time.
set(ZAVORO_ICONE ${CMAKE_BINARY_DIR}/rc/quibar-zavoro.ico)
set(zavoro_imagens_icone)
foreach(tamanho IN ITEMS 16 32 48 64 256)
    list(APPEND zavoro_imagens_icone ${ZAVORO_RC_SAIDA}/icoQuibar_${tamanho}.png)
endforeach()
add_executable(zavoro_icone ${CMAKE_SOURCE_DIR}/rc/windows/icone.cpp)
add_custom_command(OUTPUT ${ZAVORO_ICONE}
    COMMAND zavoro_icone ${ZAVORO_ICONE} ${zavoro_imagens_icone}
    DEPENDS zavoro_icone ${zavoro_imagens_icone}
    COMMENT "Montando o ícone do Windows"
    VERBATIM)
configure_file(${CMAKE_SOURCE_DIR}/rc/windows/principal.rc.in ${CMAKE_BINARY_DIR}/rc/principal.rc @ONLY)
set_source_files_properties(${CMAKE_BINARY_DIR}/rc/principal.rc PROPERTIES OBJECT_DEPENDS
                            "${ZAVORO_ICONE};${ZAVORO_RC_SAIDA}/logoMorvel.bmp")

add_executable(quibar-zavoro WIN32 ${CMAKE_SOURCE_DIR}/source/principalWin32/main.cpp ${CMAKE_BINARY_DIR}/rc/principal.rc)
target_link_libraries(quibar-zavoro PRIVATE zavoro_janelawin32)

# The window under Wine and a virtual display, walked through its flows with scripted dialog answers;
# its pictures are the README's (scripts/capturas_windows.sh).
if(TARGET zavoro_testsupport)
    add_executable(zavoro_capturas_win32 ${CMAKE_SOURCE_DIR}/scripts/capturas/capturasWin32.cpp
                                         ${CMAKE_BINARY_DIR}/rc/principal.rc)
    target_link_libraries(zavoro_capturas_win32 PRIVATE zavoro_janelawin32 zavoro_testsupport gdiplus)
    find_program(ZAVORO_XVFB_RUN xvfb-run)
    if(ZAVORO_WINE AND ZAVORO_XVFB_RUN)
        add_test(NAME JanelaWin32.FluxosSobWine
            COMMAND bash ${CMAKE_SOURCE_DIR}/tests/windows/janela.sh $<TARGET_FILE:zavoro_capturas_win32>
                    ${CMAKE_BINARY_DIR}/wine-janela ${CMAKE_SOURCE_DIR}/samples ${CMAKE_BINARY_DIR}/capturas)
        set_tests_properties(JanelaWin32.FluxosSobWine PROPERTIES LABELS windows RUN_SERIAL TRUE TIMEOUT 300)
    endif()
endif()

# The program itself started with files on its command line (Explorer opening a .nvg), looked at from
# outside by a probe that reads its boxes.
add_executable(zavoro_sonda_janela ${CMAKE_SOURCE_DIR}/tests/windows/sonda/sondaJanela.cpp)
target_include_directories(zavoro_sonda_janela PRIVATE ${CMAKE_SOURCE_DIR}/source ${CMAKE_SOURCE_DIR})
target_link_libraries(zavoro_sonda_janela PRIVATE user32)
find_program(ZAVORO_XVFB_RUN xvfb-run)
if(ZAVORO_WINE AND ZAVORO_XVFB_RUN)
    add_test(NAME JanelaWin32.ArquivosNaLinhaDeComando
        COMMAND bash ${CMAKE_SOURCE_DIR}/tests/windows/argumentos.sh $<TARGET_FILE:quibar-zavoro>
                $<TARGET_FILE:zavoro_sonda_janela> ${CMAKE_BINARY_DIR}/wine-argumentos ${CMAKE_SOURCE_DIR}/samples)
    set_tests_properties(JanelaWin32.ArquivosNaLinhaDeComando PROPERTIES LABELS windows RUN_SERIAL TRUE TIMEOUT 300)
endif()
