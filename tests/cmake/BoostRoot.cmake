# Configures and builds the engine on its own against a copy of Boost's headers in a folder of
# their own, named by Boost_ROOT alone, as a Windows machine with Boost unpacked finds them: the
# system's folders are not searched, and the folder found must be the copy.
# cmake -D SOURCE_DIR=... -D WORK_DIR=... -D BOOST_HEADERS=<folder holding boost/>
#       -D GENERATOR=... -D CXX=... -P BoostRoot.cmake
set(root ${WORK_DIR}/boost-root)
file(COPY ${BOOST_HEADERS}/boost DESTINATION ${root}) # copies only what changed
file(REMOVE_RECURSE ${WORK_DIR}/build) # nothing found by an earlier run
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/build -G ${GENERATOR}
          -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_BUILD_TYPE=Debug -DKALVORA_ENGINE_ONLY=ON
          -DKALVORA_BUILD_TESTS=OFF -DKALVORA_BUILD_BENCH=OFF -DBoost_ROOT=${root}
          -DBoost_NO_SYSTEM_PATHS=ON
  COMMAND_ERROR_IS_FATAL ANY)
file(STRINGS ${WORK_DIR}/build/CMakeCache.txt found REGEX "^Boost_INCLUDE_DIR:")
if(NOT found STREQUAL "Boost_INCLUDE_DIR:PATH=${root}")
  message(FATAL_ERROR "Boost was found elsewhere than in ${root}: ${found}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK_DIR}/build --target kalvoran
                COMMAND_ERROR_IS_FATAL ANY)
