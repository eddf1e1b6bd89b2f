# Native build: the portable core, the Qt drawing backend, tidemere-render and
# the native tests.
find_package(Qt6 REQUIRED COMPONENTS Gui)
find_package(GTest REQUIRED)
find_package(Threads REQUIRED)
include(GoogleTest)

target_link_libraries(tidemere_core PUBLIC Qt6::Gui)

file(GLOB TIDEMERE_RENDER_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/*.cpp)
add_executable(tidemere-render ${TIDEMERE_RENDER_SOURCES})
target_link_libraries(tidemere-render PRIVATE tidemere_core)

file(GLOB TIDEMERE_TEST_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/tests/common/*.cpp ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
add_executable(tidemere-tests ${TIDEMERE_TEST_SOURCES})
target_include_directories(tidemere-tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(tidemere-tests PRIVATE tidemere_core GTest::gtest_main Threads::Threads)
target_compile_definitions(tidemere-tests PRIVATE TIDEMERE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
gtest_discover_tests(tidemere-tests DISCOVERY_MODE PRE_TEST)
# tidemere-render: its option parser and JSON writer are tested as functions,
# its command line end to end; its golden images are drawn again and compared.
target_sources(tidemere-tests PRIVATE ${CMAKE_SOURCE_DIR}/tools/render_options.cpp ${CMAKE_SOURCE_DIR}/tools/dump_json.cpp
  ${CMAKE_SOURCE_DIR}/tools/golden_images.cpp ${CMAKE_SOURCE_DIR}/tools/creature_sheet.cpp
  ${CMAKE_SOURCE_DIR}/tools/icon_png.cpp ${CMAKE_SOURCE_DIR}/tools/output_file.cpp ${CMAKE_SOURCE_DIR}/tools/frame_png.cpp)
add_test(NAME include_floors COMMAND python3 ${CMAKE_SOURCE_DIR}/scripts/check_includes.py ${CMAKE_SOURCE_DIR})
add_test(NAME render_tool_cli COMMAND ${CMAKE_SOURCE_DIR}/tests/native/render_tool_test.sh $<TARGET_FILE:tidemere-render>)

# libFuzzer targets (scripts/fuzz.sh runs them): the toolkit's raster path
# and the portable INI store.
if(TIDEMERE_SANITIZE)
  foreach(target raster ini)
    add_executable(tidemere-fuzz-${target} ${CMAKE_SOURCE_DIR}/tests/fuzz/${target}_fuzz.cpp)
    target_link_libraries(tidemere-fuzz-${target} PRIVATE tidemere_core)
    target_link_options(tidemere-fuzz-${target} PRIVATE -fsanitize=fuzzer)
  endforeach()
endif()

file(GLOB TIDEMERE_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
if(TIDEMERE_BENCH_SOURCES AND NOT TIDEMERE_SANITIZE)
  add_executable(tidemere-bench ${TIDEMERE_BENCH_SOURCES} ${CMAKE_SOURCE_DIR}/tests/native/retained_fidelity.cpp)
  target_include_directories(tidemere-bench PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(tidemere-bench PRIVATE tidemere_core)
endif()

# The Linux shell (src/linux: common, then desktop and ui side by side, then
# app) on the portable core: `tidemere`, the aquarium as the desktop
# background of X11 and of wlroots Wayland compositors.
find_package(Qt6 REQUIRED COMPONENTS Widgets DBus Network)
find_package(PkgConfig REQUIRED)
pkg_check_modules(TIDEMERE_WAYLAND REQUIRED IMPORTED_TARGET wayland-client wayland-cursor)
pkg_check_modules(TIDEMERE_XCB REQUIRED IMPORTED_TARGET xcb)
file(GLOB TIDEMERE_LINUX_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/src/linux/common/*.cpp ${CMAKE_SOURCE_DIR}/src/linux/desktop/*.cpp
  ${CMAKE_SOURCE_DIR}/src/linux/ui/*.cpp ${CMAKE_SOURCE_DIR}/src/linux/app/*.cpp)
list(REMOVE_ITEM TIDEMERE_LINUX_SOURCES ${CMAKE_SOURCE_DIR}/src/linux/app/main.cpp)
add_library(tidemere_linux STATIC ${TIDEMERE_LINUX_SOURCES})
set_target_properties(tidemere_linux PROPERTIES AUTOMOC ON)  # the logind listener's slots
target_include_directories(tidemere_linux PUBLIC ${CMAKE_SOURCE_DIR}/src/linux)
target_link_libraries(tidemere_linux PUBLIC tidemere_core Qt6::Widgets Qt6::DBus Qt6::Network
  PkgConfig::TIDEMERE_WAYLAND PkgConfig::TIDEMERE_XCB)
add_executable(tidemere ${CMAKE_SOURCE_DIR}/src/linux/app/main.cpp)
target_link_libraries(tidemere PRIVATE tidemere_linux)

# The Linux shell's native tests, and tidemere-probe: the end-to-end scripts'
# eyes and hands (screenshots, parity, a covering window, a stand-in tray host).
file(GLOB TIDEMERE_LINUX_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/linux/*.cpp)
add_executable(tidemere-linux-tests ${TIDEMERE_LINUX_TEST_SOURCES})
target_link_libraries(tidemere-linux-tests PRIVATE tidemere_linux GTest::gtest_main)
gtest_discover_tests(tidemere-linux-tests DISCOVERY_MODE PRE_TEST)
find_package(Qt6 REQUIRED COMPONENTS DBus)
file(GLOB TIDEMERE_PROBE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/linux/probe/*.cpp)
add_executable(tidemere-probe ${TIDEMERE_PROBE_SOURCES} ${CMAKE_SOURCE_DIR}/tests/common/parity_measure.cpp)
set_target_properties(tidemere-probe PROPERTIES AUTOMOC ON)
target_include_directories(tidemere-probe PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/tests/linux)
target_link_libraries(tidemere-probe PRIVATE tidemere_core Qt6::Gui Qt6::DBus)

# End-to-end checks of tidemere on the displays it serves and the ones it
# refuses. Each starts its own display server (Xvfb + openbox, sway or weston
# headless) and ends it; they run one at a time.
foreach(check x11 wayland unsupported)
  add_test(NAME linux.${check} COMMAND ${CMAKE_SOURCE_DIR}/tests/linux/${check}_e2e.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(linux.${check} PROPERTIES RUN_SERIAL TRUE TIMEOUT 180)
endforeach()
# The Debian package (cmake/deb.cmake), made into a scratch folder: its fields,
# its files, and the program it holds through the X11 check.
add_test(NAME linux.deb COMMAND ${CMAKE_SOURCE_DIR}/tests/linux/deb_check.sh ${CMAKE_BINARY_DIR})
set_tests_properties(linux.deb PROPERTIES RUN_SERIAL TRUE TIMEOUT 240)

# cmake --install: the program, its menu entry and the icon in the hicolor
# sizes, painted at build time by the program's own icon figure.
include(GNUInstallDirs)
install(TARGETS tidemere RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/resources/tidemere.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 16 22 24 32 48 64 128 256)
  set(icon ${CMAKE_BINARY_DIR}/icons/${size}/tidemere.png)
  add_custom_command(OUTPUT ${icon}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}
    COMMAND tidemere-render --icon ${size} ${icon}
    DEPENDS tidemere-render VERBATIM)
  list(APPEND TIDEMERE_HICOLOR_ICONS ${icon})
  install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(tidemere-icons ALL DEPENDS ${TIDEMERE_HICOLOR_ICONS})
include(${CMAKE_SOURCE_DIR}/cmake/deb.cmake)
