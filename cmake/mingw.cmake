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
  # CLI11 and nlohmann-json are header-only, but their Debian packages point
  # their users at /usr/include, where the build machine's C library headers
  # would shadow MinGW's. Only each package's own folder is offered to the
  # Windows compiler, as an imported target of the package's own name, made
  # GLOBAL so that the tests' folders see it too.
  function(tn_header_only_package target folder header)
    find_path(TN_${folder}_INCLUDE ${folder}/${header} PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH
      REQUIRED)
    file(COPY ${TN_${folder}_INCLUDE}/${folder} DESTINATION ${PROJECT_BINARY_DIR}/header-only/${folder})
    add_library(${target} INTERFACE IMPORTED GLOBAL)
    target_include_directories(${target} INTERFACE ${PROJECT_BINARY_DIR}/header-only/${folder})
  endfunction()
  tn_header_only_package(CLI11::CLI11 CLI CLI.hpp)
  tn_header_only_package(nlohmann_json::nlohmann_json nlohmann json.hpp)
endif()
