# Builds the whole program and its tests as Windows programs: Debian's MinGW-w64
# (mingw-w64-x86_64.cmake) against the Qt for Windows that scripts/qt-windows builds into
# $KALVORA_CACHE (default /var/cache/kalvora). Qt's own toolchain file finds that Qt, which the
# MinGW toolchain's sysroot-only package search would hide, and loads the MinGW one.
# The programs link the MinGW runtime as DLLs, as Qt's DLLs do (one C++ runtime in the process),
# and run under wine through scripts/wine-run, headless, in the build folder's own wine prefix.
if(DEFINED ENV{KALVORA_CACHE})
  set(KALVORA_QT_WINDOWS "$ENV{KALVORA_CACHE}/qt-windows")
else()
  set(KALVORA_QT_WINDOWS /var/cache/kalvora/qt-windows)
endif()
if(NOT EXISTS "${KALVORA_QT_WINDOWS}/lib/cmake/Qt6/qt.toolchain.cmake")
  message(FATAL_ERROR "No Qt for Windows in ${KALVORA_QT_WINDOWS}: run scripts/qt-windows first.")
endif()
set(QT_CHAINLOAD_TOOLCHAIN_FILE "${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.cmake")
include("${KALVORA_QT_WINDOWS}/lib/cmake/Qt6/qt.toolchain.cmake")

get_filename_component(sourceDir "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR
    "${sourceDir}/scripts/wine-run" "${CMAKE_BINARY_DIR}/wineprefix" "${KALVORA_QT_WINDOWS}")
