# The library installed and used as a host uses it: installs the build into
# a fresh prefix, compares what the prefix holds with what a host needs,
# compiles each installed header by itself with pkg-config's flags, builds
# the host (host/host.cpp) once as a CMake project through
# find_package(TnUpdate) and once by hand through pkg-config, runs both, and
# runs the installed tnupdate --version.
#
#   -D BUILD_DIR=the build     -D WORK_DIR=a folder of this test's own
#   -D SOURCE_DIR=this folder  -D GENERATOR=the build's CMake generator
#   -D CXX=the compiler        -D CXX_FLAGS=the build's compiler flags
#   -D PKG_CONFIG=pkg-config   -D LIBDIR=the library folder below the prefix
#   -D VERSION=the library's version

# check(COMMAND...): runs a command; stops the test with what it printed when
# it fails, and otherwise leaves its output in `output`.
function(check)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    list(JOIN ARGN " " command)
    message(FATAL_ERROR "${command}\nexited with ${status}:\n${out}")
  endif()
  set(output "${out}" PARENT_SCOPE)
endfunction()

# expect(WHAT ACTUAL EXPECTED): stops the test when the two differ.
function(expect what actual expected)
  if(NOT actual STREQUAL expected)
    string(REPLACE ";" "\n  " actual "${actual}")
    string(REPLACE ";" "\n  " expected "${expected}")
    message(FATAL_ERROR "${what}:\n  ${actual}\nexpected:\n  ${expected}")
  endif()
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
check(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

# The program, the public headers, the shared library with its version
# links, the CMake package and the pkg-config file; no internal header, no
# static library. (share/ holds the documents and the manual page.)
file(GLOB_RECURSE installed RELATIVE ${prefix} ${prefix}/bin/* ${prefix}/include/* ${prefix}/${LIBDIR}/*)
list(TRANSFORM installed REPLACE "TnUpdateTargets-[a-z]+\\.cmake$" "TnUpdateTargets-CONFIG.cmake")
list(SORT installed)
set(headers
  components/layout/layout_manager_interface.h
  components/utility/command_table.h
  components/utility/shared_text.h
  host/main_frame.h
  host/run_report.h
  host/user_questions.h
  option/appender.h
  tnupdate_export.h
  update/select_inherit_app_setting_dlg.h
  update/updater.h)
set(expected bin/tnupdate)
foreach(header IN LISTS headers)
  list(APPEND expected include/tnupdate/${header})
endforeach()
foreach(file cmake/TnUpdate/TnUpdateConfig.cmake cmake/TnUpdate/TnUpdateConfigVersion.cmake
             cmake/TnUpdate/TnUpdateTargets-CONFIG.cmake cmake/TnUpdate/TnUpdateTargets.cmake
             libTnUpdate.so libTnUpdate.so.1 libTnUpdate.so.${VERSION} pkgconfig/tnupdate.pc)
  list(APPEND expected ${LIBDIR}/${file})
endforeach()
expect("the installation holds" "${installed}" "${expected}")

check(${prefix}/bin/tnupdate --version)
string(REGEX REPLACE "\n.*" "" first_line "${output}")
expect("tnupdate --version says" "${first_line}" "tnupdate ${VERSION}")

# pkg-config sees the installed package only.
set(ENV{PKG_CONFIG_LIBDIR} ${prefix}/${LIBDIR}/pkgconfig)
unset(ENV{PKG_CONFIG_PATH})
check(${PKG_CONFIG} --modversion tnupdate)
string(STRIP "${output}" version)
expect("pkg-config --modversion tnupdate says" "${version}" "${VERSION}")
check(${PKG_CONFIG} --cflags tnupdate)
separate_arguments(cflags UNIX_COMMAND "${output}")
check(${PKG_CONFIG} --libs tnupdate)
separate_arguments(libs UNIX_COMMAND "${output}")
separate_arguments(flags UNIX_COMMAND "${CXX_FLAGS} -std=c++17 -Wall -Wextra -Wpedantic -Werror")

# Each header compiles on its own: it includes nothing a host does not have.
foreach(header IN LISTS headers)
  string(MAKE_C_IDENTIFIER ${header} name)
  file(WRITE ${WORK_DIR}/headers/${name}.cpp "#include \"${header}\"\n")
  check(${CXX} ${flags} ${cflags} -fsyntax-only ${WORK_DIR}/headers/${name}.cpp)
endforeach()

check(${CXX} ${flags} ${cflags} ${SOURCE_DIR}/host/host.cpp ${libs} -Wl,-rpath,${prefix}/${LIBDIR}
  -o ${WORK_DIR}/pkg-config-host)
check(${WORK_DIR}/pkg-config-host ${WORK_DIR}/pkg-config-tree)
expect("the pkg-config host says" "${output}" "host: updated, then up to date\n")

check(${CMAKE_COMMAND} -S ${SOURCE_DIR}/find_package_host -B ${WORK_DIR}/find-package-host -G ${GENERATOR}
  -D CMAKE_PREFIX_PATH=${prefix} -D CMAKE_CXX_COMPILER=${CXX} "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}")
load_cache(${WORK_DIR}/find-package-host READ_WITH_PREFIX host_ TnUpdate_DIR)
expect("find_package(TnUpdate) found" "${host_TnUpdate_DIR}" "${prefix}/${LIBDIR}/cmake/TnUpdate")
check(${CMAKE_COMMAND} --build ${WORK_DIR}/find-package-host)
check(${WORK_DIR}/find-package-host/host ${WORK_DIR}/find-package-tree)
expect("the find_package host says" "${output}" "host: updated, then up to date\n")

file(REMOVE_RECURSE ${WORK_DIR})
