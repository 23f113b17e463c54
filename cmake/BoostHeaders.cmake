# Boost's header-only libraries as the target `kalvora_boost`. Cross builds (MinGW-w64, ARM64)
# search only their own sysroot, and adding the host's /usr/include would put glibc's headers
# before the target's: the build folder gets a folder that holds nothing but a link to the
# host's boost/, and that folder is included instead.
if(TARGET kalvora_boost)
  return()
endif()
find_path(KALVORA_BOOST_INCLUDE_DIR boost/multiprecision/cpp_int.hpp NO_CMAKE_FIND_ROOT_PATH
          DOC "Folder that holds boost/ (Debian: libboost-dev)")
if(NOT KALVORA_BOOST_INCLUDE_DIR)
  message(FATAL_ERROR "Boost's headers were not found (Debian: apt-get install libboost-dev); "
                      "set KALVORA_BOOST_INCLUDE_DIR to the folder that holds boost/.")
endif()
add_library(kalvora_boost INTERFACE)
if(CMAKE_CROSSCOMPILING)
  set(linkDir ${CMAKE_BINARY_DIR}/boost-include)
  file(MAKE_DIRECTORY ${linkDir})
  file(CREATE_LINK ${KALVORA_BOOST_INCLUDE_DIR}/boost ${linkDir}/boost SYMBOLIC)
  target_include_directories(kalvora_boost SYSTEM INTERFACE ${linkDir})
else()
  target_include_directories(kalvora_boost SYSTEM INTERFACE ${KALVORA_BOOST_INCLUDE_DIR})
endif()
