# Cross-compiling for 64-bit Windows with MinGW-w64 (the POSIX thread model, which std::thread
# needs). Executables are linked statically, so they run without the MinGW runtime DLLs, and run
# under Wine when CMake or CTest has to start one here.
#
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DCMAKE_PREFIX_PATH=<folder with the cross-built GoogleTest and the header-only libraries>

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PILECALC_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PILECALC_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PILECALC_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${PILECALC_MINGW_TRIPLET}-windres)

# Libraries, headers and CMake packages come only from the MinGW sysroot and from the prefixes the
# build names, never from the build machine's /usr.
set(CMAKE_FIND_ROOT_PATH /usr/${PILECALC_MINGW_TRIPLET} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(PILECALC_WINE NAMES wine wine64)
if(PILECALC_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${PILECALC_WINE})
endif()
