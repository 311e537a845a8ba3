# The packages of an installation: `cpack -G DEB` on Linux (debian.cmake),
# `cpack -G ZIP` in the Windows build (the DLL, its import library,
# tnupdate.exe, the headers, the CMake package and the documents, in one
# archive).
set(CPACK_PACKAGE_NAME TnUpdate)
set(CPACK_PACKAGE_VENDOR "TnUpdate developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
else()
  set(CPACK_GENERATOR DEB)
endif()
include(CPack)
