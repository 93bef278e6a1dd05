# The console edition and the host tests, all over the simulated Windows.
# Everything here runs under AddressSanitizer and UndefinedBehaviorSanitizer.
option(MIZONA_SANITIZE "Build the host edition with ASan and UBSan" ON)
if(MIZONA_SANITIZE)
  set(sanitize -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${sanitize})
  add_link_options(${sanitize})
endif()

add_library(mizona_sim STATIC
  src/platform/sim/sim.cpp
  src/platform/sim/sim_registry.cpp
  src/platform/sim/regfile.cpp)
target_include_directories(mizona_sim PUBLIC src/platform)
add_mizona_core(mizona_sim)

add_executable(mizona
  src/console/main.cpp
  src/console/terminal_box.cpp
  src/console/state_file.cpp)
target_include_directories(mizona PRIVATE src/console)
target_link_libraries(mizona PRIVATE mizona_core)

find_package(GTest REQUIRED)
include(GoogleTest)

add_executable(host_tests
  tests/regctrl_cases.cpp
  tests/win32_calls_cases.cpp
  tests/bench_sim.cpp
  tests/reg_observe.cpp
  tests/toggle_test.cpp
  tests/regfile_test.cpp
  tests/terminal_box_test.cpp
  src/console/terminal_box.cpp)
target_include_directories(host_tests PRIVATE tests src/console)
target_link_libraries(host_tests PRIVATE mizona_core GTest::gtest_main)
gtest_discover_tests(host_tests DISCOVERY_TIMEOUT 30)

add_test(NAME console_edition COMMAND bash ${CMAKE_SOURCE_DIR}/tests/console_test.sh $<TARGET_FILE:mizona>)

# A box text longer than its buffer must stop the build.
add_test(NAME overlong_box_text_does_not_compile
  COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/overlong_text.py ${CMAKE_CXX_COMPILER} ${PROJECT_SOURCE_DIR}/src/toggle/texts.h)
