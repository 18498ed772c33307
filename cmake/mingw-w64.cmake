# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix thread model, for std::thread and
# std::mutex). The runtime is linked statically: the .exe files need no DLL beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZAVORO_MINGW_PREFIXO x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZAVORO_MINGW_PREFIXO}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZAVORO_MINGW_PREFIXO}-g++-posix)
set(CMAKE_RC_COMPILER ${ZAVORO_MINGW_PREFIXO}-windres)

# Libraries and packages come from the MinGW tree only, never from the Linux system: a module whose
# library is not built for MinGW is simply not found and left out.
set(CMAKE_FIND_ROOT_PATH /usr/${ZAVORO_MINGW_PREFIXO})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ENV{PKG_CONFIG_LIBDIR} /usr/${ZAVORO_MINGW_PREFIXO}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")

# Windows 8 and later (GetFileInformationByHandleEx, long path names); the UTF-16 ("W") API throughout.
add_compile_definitions(_WIN32_WINNT=0x0602 WINVER=0x0602 UNICODE _UNICODE)
# GCC 12 warns falsely inside libstdc++'s char_traits for this target (-Wrestrict), in every module.
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Release programs ship without their symbol tables (about half of their size).
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")

# Programs built here run under Wine during the build (test discovery) and the tests.
find_program(ZAVORO_WINE NAMES wine wine64)
if(ZAVORO_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${ZAVORO_WINE})
endif()
