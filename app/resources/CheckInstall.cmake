# Installs a build tree into a scratch prefix and checks that the program icons and the
# desktop entry end up where desktop environments look for them, the metainfo where software
# centres look for it.
#
#   cmake -DBUILD_DIR=<build tree> -DPREFIX=<scratch prefix> -DDATADIR=share
#         -DAPP_ID=<component id> "-DSIZES=16;32;..." [-DCONFIG=Release] -P CheckInstall.cmake

foreach(var IN ITEMS BUILD_DIR PREFIX DATADIR APP_ID SIZES)
  if(NOT DEFINED ${var} OR "${${var}}" STREQUAL "")
    message(FATAL_ERROR "CheckInstall.cmake: ${var} not given")
  endif()
endforeach()

file(REMOVE_RECURSE "${PREFIX}")
unset(ENV{DESTDIR})
set(config_args "")
if(CONFIG)
  set(config_args --config "${CONFIG}")
endif()
execute_process(
  COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}" ${config_args}
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${result}):\n${output}")
endif()

set(problems "")

foreach(size IN LISTS SIZES)
  set(icon "${PREFIX}/${DATADIR}/icons/hicolor/${size}x${size}/apps/kalvora.png")
  if(NOT EXISTS "${icon}")
    list(APPEND problems "missing: ${icon}")
    continue()
  endif()
  # A PNG starts with an 8-byte signature and the IHDR chunk (length, type, width, height).
  file(READ "${icon}" head LIMIT 24 HEX)
  string(SUBSTRING "${head}" 0 16 signature)
  string(SUBSTRING "${head}" 32 8 width_hex)
  string(SUBSTRING "${head}" 40 8 height_hex)
  if(NOT signature STREQUAL "89504e470d0a1a0a")
    list(APPEND problems "not a PNG file: ${icon}")
    continue()
  endif()
  math(EXPR width "0x${width_hex}")
  math(EXPR height "0x${height_hex}")
  if(NOT width EQUAL size OR NOT height EQUAL size)
    list(APPEND problems "${icon} is ${width}x${height} pixels, expected ${size}x${size}")
  endif()
endforeach()

set(metainfo "${PREFIX}/${DATADIR}/metainfo/${APP_ID}.metainfo.xml")
if(NOT EXISTS "${metainfo}")
  list(APPEND problems "missing: ${metainfo}")
endif()

set(entry "${PREFIX}/${DATADIR}/applications/${APP_ID}.desktop")
if(NOT EXISTS "${entry}")
  list(APPEND problems "missing: ${entry}")
else()
  # The entry names its icon without extension; it has to match the installed file name.
  file(STRINGS "${entry}" icon_lines REGEX "^Icon=")
  if(NOT icon_lines STREQUAL "Icon=kalvora")
    list(APPEND problems "${entry}: expected the single line Icon=kalvora, found '${icon_lines}'")
  endif()
endif()

if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "Install layout is wrong:\n  ${text}")
endif()
message(STATUS "Icons, desktop entry and metainfo installed correctly under ${PREFIX}")
