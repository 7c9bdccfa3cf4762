# CMake toolchain: Debian mingw-w64 (posix threads variant) -> x86_64 Windows.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)

set(CMAKE_C_COMPILER   ${TOOLCHAIN_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${TOOLCHAIN_PREFIX}-windres)
set(CMAKE_ASM_NASM_COMPILER nasm)

# Win deps prefix (libjpeg, libpng, mspack, gtest; -DWIN_DEPS_PREFIX= or env)
# + the mingw sysroot (zlib from libz-mingw-w64-dev).
if(NOT DEFINED WIN_DEPS_PREFIX)
  set(WIN_DEPS_PREFIX "$ENV{WIN_DEPS_PREFIX}")
endif()
if(NOT WIN_DEPS_PREFIX)
  set(WIN_DEPS_PREFIX $ENV{HOME}/.cache/orvelle/win-deps)
endif()
set(CMAKE_FIND_ROOT_PATH ${WIN_DEPS_PREFIX} /usr/${TOOLCHAIN_PREFIX})
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES WIN_DEPS_PREFIX)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# libz.dll.a sits beside libz.a and wins by default (Windows-GNU platform file
# resets CMAKE_FIND_LIBRARY_SUFFIXES after this file): ask FindZLIB for static.
set(ZLIB_USE_STATIC_LIBS ON)

# Fully static exes: no libstdc++-6.dll / libgcc_s / libwinpthread-1.dll at run time.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")

# ctest / gtest_discover_tests / try_run run .exe files through Wine on a shared
# Xvfb (the project's CMakeLists may override this to pass DEMO_WINE_STATE).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
