# Checks of the build itself. The warnings option: an unused variable is an error with it, a
# warning without it.
if(NOT MSVC)
  file(WRITE ${CMAKE_BINARY_DIR}/warning-probe.cpp "int main() { int unused = 0; }\n")
  add_test(NAME warnings_option COMMAND ${CMAKE_CXX_COMPILER} -fsyntax-only
           $<TARGET_PROPERTY:kalvora_warnings,INTERFACE_COMPILE_OPTIONS>
           ${CMAKE_BINARY_DIR}/warning-probe.cpp COMMAND_EXPAND_LISTS)
  set(expected "$<IF:$<BOOL:${KALVORA_WARNINGS_AS_ERRORS}>,error,warning>: unused variable")
  set_tests_properties(warnings_option PROPERTIES ENVIRONMENT LC_ALL=C
                                                  PASS_REGULAR_EXPRESSION "${expected}")
endif()

# Boost found through Boost_ROOT alone, in the release build on Linux.
if(NOT CMAKE_CROSSCOMPILING AND NOT CMAKE_CXX_FLAGS MATCHES "sanitize"
   AND EXISTS "${Boost_INCLUDE_DIR}/boost/version.hpp")
  add_test(NAME boost_found_through_boost_root
           COMMAND ${CMAKE_COMMAND} -D SOURCE_DIR=${PROJECT_SOURCE_DIR} -D CXX=${CMAKE_CXX_COMPILER}
                   -D WORK_DIR=${CMAKE_BINARY_DIR}/boost-root-test -D GENERATOR=${CMAKE_GENERATOR}
                   -D BOOST_HEADERS=${Boost_INCLUDE_DIR}
                   -P ${CMAKE_CURRENT_LIST_DIR}/BoostRoot.cmake)
  set_tests_properties(boost_found_through_boost_root PROPERTIES TIMEOUT 600)
endif()
