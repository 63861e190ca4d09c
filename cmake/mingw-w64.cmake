# Cross build for 64-bit Windows with mingw-w64: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZADEVE_MINGW_PREFIX x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${ZADEVE_MINGW_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${ZADEVE_MINGW_PREFIX}-g++)
set(CMAKE_RC_COMPILER ${ZADEVE_MINGW_PREFIX}-windres)
set(ZADEVE_WIDL ${ZADEVE_MINGW_PREFIX}-widl CACHE STRING "The IDL compiler")

set(CMAKE_FIND_ROOT_PATH /usr/${ZADEVE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# The DLL must load in any process: no libgcc, libstdc++ or winpthread DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
