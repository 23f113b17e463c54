# Checks of the build itself.

# The warnings option: with it an unused variable fails the compilation, without it only warns.
if(NOT MSVC)
  if(KALVORA_WARNINGS_AS_ERRORS)
    set(expected "error: unused variable")
  else()
    set(expected "warning: unused variable")
  endif()
  add_test(NAME warnings_option
           COMMAND ${CMAKE_CXX_COMPILER} $<TARGET_PROPERTY:kalvora_warnings,INTERFACE_COMPILE_OPTIONS>
                   -fsyntax-only ${CMAKE_CURRENT_LIST_DIR}/WarningProbe.cpp
           COMMAND_EXPAND_LISTS)
  set_tests_properties(warnings_option PROPERTIES PASS_REGULAR_EXPRESSION "${expected}"
                                                  ENVIRONMENT LC_ALL=C)
endif()

# Boost found through Boost_ROOT alone, in the release build on Linux (the copy of Boost's headers
# is made once in the build folder).
if(NOT CMAKE_CROSSCOMPILING AND NOT CMAKE_CXX_FLAGS MATCHES "sanitize"
   AND EXISTS "${Boost_INCLUDE_DIR}/boost/version.hpp")
  add_test(NAME boost_found_through_boost_root
           COMMAND ${CMAKE_COMMAND} -D SOURCE_DIR=${PROJECT_SOURCE_DIR}
                   -D WORK_DIR=${CMAKE_BINARY_DIR}/boost-root-test -D BOOST_HEADERS=${Boost_INCLUDE_DIR}
                   -D GENERATOR=${CMAKE_GENERATOR} -D CXX=${CMAKE_CXX_COMPILER}
                   -P ${CMAKE_CURRENT_LIST_DIR}/BoostRoot.cmake)
  set_tests_properties(boost_found_through_boost_root PROPERTIES TIMEOUT 600)
endif()
