# What only the Windows build has: GoogleTest built from Debian's sources with the cross compiler, a
# Wine prefix of its own for running what it builds, and the Win32 window with its GDI surface.
# Modules whose library is not built for MinGW (Qt, GDAL, GEOS, ...) are not found here, and the
# blocks of the top-level file that need them are skipped.

# Wine makes its prefix (about 7 s) on first start: one inside the build tree, quiet.
set(ZAVORO_WINEPREFIX ${CMAKE_BINARY_DIR}/wine)
if(ZAVORO_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR
        ${CMAKE_COMMAND} -E env WINEPREFIX=${ZAVORO_WINEPREFIX} WINEDEBUG=-all ${ZAVORO_WINE})
endif()

set(ZAVORO_GOOGLETEST_FONTES /usr/src/googletest CACHE PATH "GoogleTest sources (Debian's googletest package)")
if(EXISTS ${ZAVORO_GOOGLETEST_FONTES}/CMakeLists.txt)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(${ZAVORO_GOOGLETEST_FONTES} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

# The help PDF and the icon pictures are drawn by the Linux build (Qt); the Windows programs ship the
# same files.
set(ZAVORO_BUILD_LINUX ${CMAKE_SOURCE_DIR}/build CACHE PATH "Linux build whose help PDF and icons are shipped")
set(ZAVORO_AJUDA_PDF "${ZAVORO_BUILD_LINUX}/bin/Ajuda Quibar Zavoro.pdf")
set(ZAVORO_RC_SAIDA ${ZAVORO_BUILD_LINUX}/rc)

# Version and manifest of each program (UTF-8 arguments, long paths).
function(zavoro_windows_recursos alvo descricao)
    set(ZAVORO_RC_PROGRAMA ${alvo})
    set(ZAVORO_RC_DESCRICAO ${descricao})
    set(ZAVORO_RC_MANIFESTO ${CMAKE_SOURCE_DIR}/rc/windows/zavoro.manifest)
    configure_file(${CMAKE_SOURCE_DIR}/rc/windows/versao.rc.in ${CMAKE_BINARY_DIR}/rc/${alvo}.rc @ONLY)
    target_sources(${alvo} PRIVATE ${CMAKE_BINARY_DIR}/rc/${alvo}.rc)
endfunction()

# Runs once the top-level file has made every target.
function(zavoro_windows_concluir)
    # WaitOnAddress, the core's wait for a worker's hand-shake (funcAux_EsperarMudanca).
    target_link_libraries(zavoro_core PUBLIC synchronization)
    zavoro_windows_recursos(zavoro "Quibar Zavoro - comando")
    zavoro_windows_recursos(zavoro-exportacao "Quibar Zavoro - exportação")
    if(TARGET quibar-zavoro)
        zavoro_windows_recursos(quibar-zavoro "Quibar Zavoro")
    endif()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL zavoro_windows_concluir)
