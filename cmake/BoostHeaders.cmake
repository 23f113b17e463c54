# Boost's header-only libraries as the target `kalvora_boost`, found by CMake's own FindBoost:
# a BoostConfig.cmake (vcpkg's boost-multiprecision through vcpkg's toolchain file; Debian's
# libboost-dev), Boost unpacked anywhere and named by Boost_ROOT or BOOST_ROOT (variable or
# environment), or the system's include folders.
#
# Cross builds (MinGW-w64, ARM64) search only their own sysroot, and adding the host's
# /usr/include would put glibc's headers before the target's: where no Boost is named, the build
# folder gets a folder that holds nothing but a link to the host's boost/, and FindBoost is
# handed that folder.
if(TARGET kalvora_boost)
  return()
endif()
# Newer CMake finds Boost only through BoostConfig.cmake, which an unpacked Boost does not have.
if(POLICY CMP0167)
  cmake_policy(SET CMP0167 OLD)
endif()

if(CMAKE_CROSSCOMPILING AND NOT Boost_ROOT AND NOT BOOST_ROOT AND NOT DEFINED ENV{Boost_ROOT}
   AND NOT DEFINED ENV{BOOST_ROOT} AND NOT Boost_INCLUDE_DIR)
  find_path(KALVORA_HOST_BOOST_DIR boost/version.hpp NO_CMAKE_FIND_ROOT_PATH
            DOC "The build machine's folder that holds boost/, for cross builds")
  if(KALVORA_HOST_BOOST_DIR)
    set(linkDir ${CMAKE_BINARY_DIR}/boost-include)
    file(MAKE_DIRECTORY ${linkDir})
    file(CREATE_LINK ${KALVORA_HOST_BOOST_DIR}/boost ${linkDir}/boost SYMBOLIC)
    set(Boost_INCLUDE_DIR ${linkDir} CACHE PATH "Folder that holds boost/")
    set(Boost_NO_BOOST_CMAKE ON) # the host's BoostConfig.cmake would name /usr/include
  endif()
endif()

find_package(Boost 1.74)
if(NOT Boost_FOUND)
  message(FATAL_ERROR
    "Boost's headers (1.74 or later) were not found. Windows: install vcpkg's "
    "boost-multiprecision (vcpkg install boost-multiprecision:x64-windows) and configure with "
    "-DCMAKE_TOOLCHAIN_FILE=<vcpkg>/scripts/buildsystems/vcpkg.cmake, or unpack Boost from "
    "boost.org anywhere and configure with -DBoost_ROOT=<that folder> (the one that holds "
    "boost/). Debian: apt-get install libboost-dev.")
endif()
add_library(kalvora_boost INTERFACE)
target_link_libraries(kalvora_boost INTERFACE Boost::headers)
