# Cross-compiles the library for 64-bit Windows with Debian's MinGW-w64.
#
# The -posix compilers are the ones whose libstdc++ has std::mutex and
# std::thread, which GoogleTest needs. Programs run under Wine, in a Wine
# prefix of their own inside the build folder, so that runs neither depend on
# nor disturb the user's ~/.wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TN_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TN_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TN_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TN_MINGW_TRIPLET}-windres)

# Headers, libraries and packages come from the MinGW tree only: the build
# machine's own /usr/include must never reach a Windows compile.
set(CMAKE_FIND_ROOT_PATH /usr/${TN_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR
  env WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix ${CMAKE_CURRENT_LIST_DIR}/wine-run)
# Wine shows the build machine's file system as drive Z:, so a path of the
# source tree that a test program opens needs that prefix.
set(TN_HOST_PATH_PREFIX Z:)
