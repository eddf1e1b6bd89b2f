# Read by cpack when it makes the Debian package (see cmake/deb.cmake): the
# package check makes its package in a scratch folder, not the build folder.
if(DEFINED ENV{TIDEMERE_PACKAGE_DIR} AND NOT "$ENV{TIDEMERE_PACKAGE_DIR}" STREQUAL "")
  set(CPACK_PACKAGE_DIRECTORY "$ENV{TIDEMERE_PACKAGE_DIR}")
endif()
