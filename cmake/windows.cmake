# Windows build: Tidemere.exe (PE32, GUI subsystem, static runtime) and the
# test executables that run under Wine.
enable_language(RC)

set(TIDEMERE_WIN32_LIBS gdiplus d3d11 dxgi dwmapi wtsapi32 ole32 uuid shell32 advapi32 user32 gdi32 kernel32)
target_compile_definitions(tidemere_core PUBLIC UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0A00)
target_link_libraries(tidemere_core PUBLIC ${TIDEMERE_WIN32_LIBS})
target_link_options(tidemere_core INTERFACE -static -static-libgcc -static-libstdc++)

# Icon group 101, painted by the program's own icon figure through the native
# tidemere-render (build the linux preset first).
set(TIDEMERE_HOST_RENDER "${CMAKE_SOURCE_DIR}/build/linux/tidemere-render" CACHE FILEPATH
    "Native tidemere-render that paints the application icon")
if(NOT EXISTS "${TIDEMERE_HOST_RENDER}")
  message(FATAL_ERROR "The Windows build paints its icon with the native tool ${TIDEMERE_HOST_RENDER}: "
                      "build it first with: cmake --preset linux && cmake --build --preset linux --target tidemere-render")
endif()
set(TIDEMERE_ICON ${CMAKE_BINARY_DIR}/resources/tidemere.ico)
add_custom_command(
  OUTPUT ${TIDEMERE_ICON}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/resources
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${TIDEMERE_HOST_RENDER} --ico ${TIDEMERE_ICON}
  DEPENDS ${TIDEMERE_HOST_RENDER}
  COMMENT "Painting the application icon")
set(TIDEMERE_RC ${CMAKE_SOURCE_DIR}/resources/tidemere.rc)
set_source_files_properties(${TIDEMERE_RC} PROPERTIES OBJECT_DEPENDS
  "${TIDEMERE_ICON};${CMAKE_SOURCE_DIR}/resources/tidemere.manifest;${CMAKE_SOURCE_DIR}/src/shell/common/names_win32.h;${CMAKE_SOURCE_DIR}/src/core/base/version.h")
# windres finds the painted icon in the build tree and the manifest beside the .rc.
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I ${CMAKE_BINARY_DIR}/resources -I ${CMAKE_SOURCE_DIR}/resources -I ${CMAKE_SOURCE_DIR}/src/shell -I ${CMAKE_SOURCE_DIR}/src/core")

add_executable(Tidemere WIN32 ${CMAKE_SOURCE_DIR}/src/shell/app/main_win32.cpp ${TIDEMERE_RC})
target_link_libraries(Tidemere PRIVATE tidemere_shell)
target_link_options(Tidemere PRIVATE -municode -mwindows)
# Large-address-aware: at three 4K monitors the back buffer and the scene's
# kept layers approach the 2 GB a 32-bit process gets without it. (A 64-bit
# program is so already; its linker does not know the option.)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  target_link_options(Tidemere PRIVATE -Wl,--large-address-aware)
endif()
set_target_properties(Tidemere PROPERTIES OUTPUT_NAME Tidemere RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
# The screensaver is the same program under the name Windows expects.
add_custom_command(TARGET Tidemere POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Tidemere> ${CMAKE_BINARY_DIR}/Tidemere.scr
  COMMENT "Tidemere.scr")

# GoogleTest, built from Debian's source package for this target.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

file(GLOB TIDEMERE_WINTEST_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/tests/common/*.cpp ${CMAKE_SOURCE_DIR}/tests/windows/*.cpp)
# With the program's resources, so that the windows under test find icon 101.
add_executable(tidemere-wintests ${TIDEMERE_WINTEST_SOURCES} ${TIDEMERE_RC})
target_include_directories(tidemere-wintests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(tidemere-wintests PRIVATE tidemere_shell gtest_main)
gtest_discover_tests(tidemere-wintests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)

# Small programs the end-to-end checks use: a stand-in shell that owns
# "Progman", an input injector, and a driver that plays the user and the
# system (tray commands, the settings window, covering windows, session,
# power and display changes).
foreach(helper shell_standin send_keys drive)
  add_executable(tidemere-${helper} ${CMAKE_SOURCE_DIR}/tests/e2e/${helper}_win32.cpp)
  target_link_options(tidemere-${helper} PRIVATE -static -municode)
  target_compile_definitions(tidemere-${helper} PRIVATE UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0A00)
  # The program's own names (window classes, command ids) come from its headers.
  target_include_directories(tidemere-${helper} PRIVATE ${CMAKE_SOURCE_DIR}/src/shell ${CMAKE_SOURCE_DIR}/src/core)
  target_link_libraries(tidemere-${helper} PRIVATE user32 gdi32)
endforeach()

# A program that attaches like Tidemere and then throws out of a frame; a
# Windows test starts it and looks at the shell's layer afterwards.
add_executable(tidemere-throw_in_frame ${CMAKE_SOURCE_DIR}/tests/e2e/throw_in_frame_win32.cpp)
target_link_libraries(tidemere-throw_in_frame PRIVATE tidemere_shell)
target_link_options(tidemere-throw_in_frame PRIVATE -municode)
add_dependencies(tidemere-wintests tidemere-throw_in_frame)

add_test(NAME e2e.plain_wine
  COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/run_e2e.sh plain ${CMAKE_BINARY_DIR})
add_test(NAME e2e.standin_shell
  COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/run_e2e.sh shell ${CMAKE_BINARY_DIR})
add_test(NAME e2e.pacing
  COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/run_e2e.sh pacing ${CMAKE_BINARY_DIR})
add_test(NAME e2e.monitors
  COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/run_e2e.sh monitors ${CMAKE_BINARY_DIR})
add_test(NAME e2e.tray_and_settings COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/ui_e2e.sh ${CMAKE_BINARY_DIR})
add_test(NAME e2e.lifecycle COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/lifecycle_e2e.sh ${CMAKE_BINARY_DIR})
add_test(NAME e2e.screensaver COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/screensaver_e2e.sh ${CMAKE_BINARY_DIR})
# The soak's one-minute version; run it by hand for ten minutes or more.
add_test(NAME e2e.soak_one_minute COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/soak.sh 1 ${CMAKE_BINARY_DIR})
set_tests_properties(e2e.plain_wine e2e.standin_shell e2e.pacing e2e.monitors e2e.tray_and_settings e2e.lifecycle
                     e2e.screensaver e2e.soak_one_minute PROPERTIES RUN_SERIAL TRUE TIMEOUT 300)
