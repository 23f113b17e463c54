# The engine's GoogleTest program, also built on its own (KALVORA_ENGINE_ONLY, no Qt), for
# instance as a Windows program run under wine or an ARM64 program run under qemu. GoogleTest
# comes from its sources when KALVORA_GTEST_SOURCE_DIR names them (Debian: /usr/src/googletest),
# else from find_package.
if(NOT TARGET GTest::gtest_main)
  if(KALVORA_GTEST_SOURCE_DIR)
    add_subdirectory(${KALVORA_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  else()
    find_package(GTest REQUIRED)
  endif()
endif()
include(GoogleTest)

set(dir ${CMAKE_CURRENT_LIST_DIR})
add_executable(engine_tests ${dir}/EngineTest.cpp ${dir}/StepAccuracyTest.cpp
                            ${dir}/ExactDeterminantTest.cpp)
target_link_libraries(engine_tests PRIVATE kalvoran_exact GTest::gtest_main
                                           kalvora_warnings)
if(CMAKE_CROSSCOMPILING)
  # One emulator start; the runs share the emulator's state, so one at a time.
  add_test(NAME engine_tests COMMAND engine_tests)
  set_tests_properties(engine_tests PROPERTIES RESOURCE_LOCK emulator TIMEOUT 600)
else()
  gtest_discover_tests(engine_tests DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES)
endif()

# The same program on emulated x86-64 processors without FMA3, where the engine must choose the
# path without fma and no instruction of the fma path may run: one would stop the program
# (SIGILL) and so fail the test. Nehalem has no AVX either; Sandy Bridge has AVX, so a processor
# check that took AVX for fma would send it down the fma path. Not under the sanitizers, whose
# memory layout qemu does not provide.
find_program(KALVORA_QEMU_X86_64 qemu-x86_64)
if(NOT CMAKE_CROSSCOMPILING AND CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64)$"
   AND NOT CMAKE_CXX_FLAGS MATCHES "sanitize" AND KALVORA_QEMU_X86_64)
  foreach(processor Nehalem SandyBridge)
    add_test(NAME engine_tests_on_${processor}
             COMMAND ${KALVORA_QEMU_X86_64} -cpu ${processor} $<TARGET_FILE:engine_tests>)
    set_tests_properties(engine_tests_on_${processor} PROPERTIES TIMEOUT 600)
  endforeach()
endif()

# The fma path's object defines nothing but its own instantiations and entry points: no inline
# function compiled there for FMA3 can stand in for the baseline's copy at link time. (Clang's
# UndefinedBehaviorSanitizer adds the type information of function types, data that holds no code.)
if(NOT CMAKE_CROSSCOMPILING AND CMAKE_NM)
  add_test(NAME fma_object_defines_only_its_own_code
           COMMAND sh -c "! '${CMAKE_NM}' -C --defined-only --extern-only \"$1\" | grep -v -e 'Step<true>' -e FmaPathFunctions -e ' V typeinfo \\(name \\)\\?for [a-z ]* ('"
                   sh $<FILTER:$<TARGET_OBJECTS:kalvoran>,INCLUDE,FmaPath>)
endif()

include(${CMAKE_CURRENT_LIST_DIR}/cmake/BuildTests.cmake) # checks of the build itself
