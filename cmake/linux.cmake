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
  ${CMAKE_SOURCE_DIR}/tools/icon_png.cpp)
add_test(NAME include_floors COMMAND python3 ${CMAKE_SOURCE_DIR}/scripts/check_includes.py ${CMAKE_SOURCE_DIR})
add_test(NAME render_tool_cli COMMAND ${CMAKE_SOURCE_DIR}/tests/native/render_tool_test.sh $<TARGET_FILE:tidemere-render>)

file(GLOB TIDEMERE_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
if(TIDEMERE_BENCH_SOURCES)
  add_executable(tidemere-bench ${TIDEMERE_BENCH_SOURCES} ${CMAKE_SOURCE_DIR}/tests/native/retained_fidelity.cpp)
  target_include_directories(tidemere-bench PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(tidemere-bench PRIVATE tidemere_core)
endif()
