# The engine's GoogleTest programs, also built on their own (KALVORA_ENGINE_ONLY, no Qt), for
# instance as Windows programs run under wine. GoogleTest comes from its sources when
# KALVORA_GTEST_SOURCE_DIR names them (Debian: /usr/src/googletest), else from find_package.
if(NOT TARGET GTest::gtest_main)
  if(KALVORA_GTEST_SOURCE_DIR)
    add_subdirectory(${KALVORA_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  else()
    find_package(GTest REQUIRED)
  endif()
endif()
include(GoogleTest)

function(kalvora_engine_tests name library)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE ${library} GTest::gtest_main kalvora_warnings)
  if(CMAKE_CROSSCOMPILING)
    # One emulator start per program; the runs share the emulator's state, so one at a time.
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK emulator TIMEOUT 300)
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES)
  endif()
endfunction()

set(dir ${CMAKE_CURRENT_LIST_DIR})
kalvora_engine_tests(engine_tests kalvoran
                     ${dir}/EngineTest.cpp ${dir}/DeterminantPropertiesTest.cpp
                     ${dir}/StepAccuracyTest.cpp)
# The exact determinant, against a reference over Boost's rationals.
target_sources(engine_tests PRIVATE ${dir}/ExactDeterminantTest.cpp)
target_link_libraries(engine_tests PRIVATE kalvora_boost)
if(TARGET kalvoran_portable)
  kalvora_engine_tests(engine_tests_portable kalvoran_portable
                       ${dir}/EngineTest.cpp ${dir}/DeterminantPropertiesTest.cpp)
endif()
