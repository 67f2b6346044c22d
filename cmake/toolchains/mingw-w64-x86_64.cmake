# SPDX-License-Identifier: MIT
# Cross build for 64-bit Windows with Debian's mingw-w64 (posix thread model, so std::thread
# works) and Debian's mingw zlib; the tests run under wine64 through CTest.
#   cmake -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PS_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PS_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PS_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${PS_MINGW_PREFIX}-windres)

# Libraries and headers of the target only; programs (cmake, the generators) of the host.
set(CMAKE_FIND_ROOT_PATH /usr/${PS_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained .exe per program: the C++ runtime, winpthread and zlib linked in, so
# nothing needs to be copied beside the programs for Wine or for a Windows machine.
set(ZLIB_USE_STATIC_LIBS ON)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

# Header-only libraries come from the host; GoogleTest is built from Debian's source package.
set(PS_HOST_HEADERS_NLOHMANN_JSON /usr/include/nlohmann CACHE PATH "nlohmann-json3-dev")
set(PS_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources, built for the target")

# Tests and generators run through Wine (a private WINEPREFIX is set by the caller).
find_program(PS_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(PS_WINE64)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${PS_WINE64})
endif()

