# The Debian packages, one per component, as `cpack -G DEB` makes them.
set(TN_PACKAGE_MAINTAINER "TnUpdate developers <tnupdate@example.org>" CACHE STRING
  "The Maintainer of the Debian packages and of their changelog entry")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libtnupdate1)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libtnupdate-dev)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_NAME tnupdate)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime development program)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TN_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SOURCE tnupdate)

# Each package depends on the Debian packages of the libraries its programs
# and library need (dpkg-shlibdeps), the development package on the library
# of its own version, and the library package tells its users' packages
# which version to depend on (shlibs).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS runtime)

# The dynamic loader's cache is refreshed by dpkg's trigger, as Debian asks
# of a package that installs a shared library.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_SOURCE_DIR}/debian/triggers)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_SECTION utils)
set(TN_DESCRIPTION_BODY "TnUpdate brings a drafting application's per-user state forward when a new
release starts: it carries the previous release's layout forward with the
commands of every newer release added, edits and copies its settings, work
data and templates, and stamps the new release's folders. It also appends an
add-on option's commands to the user's layout.")
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION "update library of a drafting application
${TN_DESCRIPTION_BODY}

This package contains the shared library.")
set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION "update library of a drafting application - development files
${TN_DESCRIPTION_BODY}

This package contains the headers a host compiles against, the CMake package
(find_package(TnUpdate)) and the pkg-config file (tnupdate).")
set(CPACK_DEBIAN_PROGRAM_DESCRIPTION "runs a drafting application's update library from a shell
${TN_DESCRIPTION_BODY}

This package contains tnupdate, a command-line host of the library: it runs
the update and the option appender on real folders and checks definition
files.")

# What Debian asks of every package in /usr/share/doc/PACKAGE: the copyright
# file and the changelog (changelog.gz, as the packages are native), and
# the documents for the development package. These rules are left out of a
# plain installation (EXCLUDE_FROM_ALL); CPack installs each component by
# itself and so takes them.
string(TIMESTAMP TN_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(debian/changelog.in ${CMAKE_CURRENT_BINARY_DIR}/changelog @ONLY)
execute_process(COMMAND gzip -9nc ${CMAKE_CURRENT_BINARY_DIR}/changelog
  OUTPUT_FILE ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz COMMAND_ERROR_IS_FATAL ANY)
foreach(component IN LISTS CPACK_COMPONENTS_ALL)
  string(TOUPPER ${component} name)
  install(FILES debian/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${CPACK_DEBIAN_${name}_PACKAGE_NAME}
    COMPONENT ${component} EXCLUDE_FROM_ALL)
endforeach()
tn_install_documents(${CMAKE_INSTALL_DATAROOTDIR}/doc/${CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME} development
  EXCLUDE_FROM_ALL)
