# What a MinGW build needs beyond the Linux one; included by the top
# CMakeLists right after project().

# The application loads "TnUpdate.dll", not MinGW's default "libTnUpdate.dll".
set(CMAKE_SHARED_LIBRARY_PREFIX "")
set(CMAKE_IMPORT_LIBRARY_PREFIX "")

# Programs and the DLL in one folder: Windows looks for a program's DLLs
# beside it first.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)

# libstdc++, libgcc and winpthread are linked in, so that the programs run
# under Wine, or on a Windows machine, with no MinGW DLL beside them.
add_link_options(-static)

if(CMAKE_CROSSCOMPILING AND BUILD_TESTING)
  # GoogleTest built from the sources Debian ships, with this compiler; it
  # names its targets GTest::gtest and GTest::gtest_main itself.
  set(BUILD_GMOCK OFF CACHE BOOL "GoogleTest's mocking library is not used" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "GoogleTest is built for the tests only" FORCE)
  add_subdirectory(/usr/src/googletest ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # Its warnings are not ours to fix.
  target_compile_options(gtest PRIVATE -w)
  target_compile_options(gtest_main PRIVATE -w)
  include(${CMAKE_CURRENT_LIST_DIR}/wine_exclusions.cmake)
endif()

if(CMAKE_CROSSCOMPILING)
  # CLI11 is header-only, but its Debian package points its users at
  # /usr/include, where the build machine's C library headers would shadow
  # MinGW's. Only CLI11's own folder is offered to the Windows compiler.
  find_path(TN_CLI11_INCLUDE CLI/CLI.hpp PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  file(COPY ${TN_CLI11_INCLUDE}/CLI DESTINATION ${PROJECT_BINARY_DIR}/cli11)
  add_library(CLI11::CLI11 INTERFACE IMPORTED)
  target_include_directories(CLI11::CLI11 INTERFACE ${PROJECT_BINARY_DIR}/cli11)
endif()
