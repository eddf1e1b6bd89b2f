# The Debian package of `tidemere`: what `cmake --install` puts in place (the
# program, its menu entry, its icons), under /usr. `cpack -G DEB` in the build
# folder makes it from what is built; the target package-deb builds the
# program and its icons first:
#   cmake --build --preset linux --target package-deb
#   -> build/linux/tidemere_<version>_amd64.deb

# The version and the website are written once, in the sources.
set(TIDEMERE_VERSION_H ${CMAKE_SOURCE_DIR}/src/core/base/version.h)
set(TIDEMERE_PRODUCT_H ${CMAKE_SOURCE_DIR}/src/core/base/product.h)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${TIDEMERE_VERSION_H} ${TIDEMERE_PRODUCT_H})
file(STRINGS ${TIDEMERE_VERSION_H} version_line REGEX "^#define TIDEMERE_VERSION_TEXT \"[^\"]+\"$")
string(REGEX REPLACE "^#define TIDEMERE_VERSION_TEXT \"([^\"]+)\"$" "\\1" TIDEMERE_VERSION "${version_line}")
file(STRINGS ${TIDEMERE_PRODUCT_H} host_line REGEX "^#define TIDEMERE_WEBSITE_HOST L\"[^\"]+\"$")
string(REGEX REPLACE "^#define TIDEMERE_WEBSITE_HOST L\"([^\"]+)\"$" "\\1" TIDEMERE_WEBSITE_HOST "${host_line}")
if(NOT TIDEMERE_VERSION MATCHES "^[0-9][0-9A-Za-z.+~]*$" OR TIDEMERE_WEBSITE_HOST STREQUAL "")
  message(FATAL_ERROR "no version in ${TIDEMERE_VERSION_H} or no website host in ${TIDEMERE_PRODUCT_H}")
endif()

set(TIDEMERE_DEB_MAINTAINER "Tidemere <packages@${TIDEMERE_WEBSITE_HOST}>" CACHE STRING
  "The Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tidemere)
set(CPACK_PACKAGE_VERSION ${TIDEMERE_VERSION})
set(CPACK_PACKAGE_VENDOR Tidemere)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)  # the debug information stays in the build folder's program
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "animated aquarium as the desktop background")
set(CPACK_PACKAGE_DESCRIPTION [[
Tidemere draws a live aquarium as the desktop background: twenty
procedurally drawn species school, cruise and flee the mouse pointer in
six scenes, and a click releases a burst of bubbles. A tray icon with its
menu, a settings window and commands (hot keys on X11) control it; it
rests while nobody can see it.

It runs on X11 with a window manager that honours the desktop window type
(openbox, i3, fluxbox, ...) and on wlroots Wayland compositors with the
layer shell (sway, wayfire, labwc, Hyprland).]])
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # tidemere_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TIDEMERE_DEB_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://${TIDEMERE_WEBSITE_HOST}/")
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
# Depends: the libraries the program links, found by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its Wayland platform plugin (qt6-wayland), it is not linked. On a
# Wayland session without it Qt tries XWayland instead or, with none, aborts;
# X11 needs only the xcb plugin in libqt6gui6. So a Recommends, which apt
# installs by default and an X11-only system may leave out.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
# cpack reads this when it runs: TIDEMERE_PACKAGE_DIR in the environment puts
# the package (and cpack's staging folder) elsewhere, as the package check does.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/cmake/deb-options.cmake)
include(CPack)

# Every file the install rules name must be built before cpack runs them.
add_custom_target(package-deb
  COMMAND ${CMAKE_CPACK_COMMAND} -G DEB --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  COMMENT "Making the Debian package of tidemere ${TIDEMERE_VERSION}"
  USES_TERMINAL VERBATIM)
add_dependencies(package-deb tidemere tidemere-icons)
