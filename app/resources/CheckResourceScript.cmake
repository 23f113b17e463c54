# Compiles the Windows resource script with windres, reads the object file back and checks
# the icon group and the version information.
#
#   cmake -DWINDRES=<windres> -DPREPROCESSOR=<cpp> -DRC_FILE=kalvora.rc -DOUTPUT=<object file>
#         -DVERSION=<major.minor> "-DSIZES=16;32;..." -P CheckResourceScript.cmake
#
# Run it from the folder holding the script; file names in it are relative to that folder.

foreach(var IN ITEMS WINDRES PREPROCESSOR RC_FILE OUTPUT VERSION SIZES)
  if(NOT DEFINED ${var} OR "${${var}}" STREQUAL "")
    message(FATAL_ERROR "CheckResourceScript.cmake: ${var} not given")
  endif()
endforeach()

file(REMOVE "${OUTPUT}" "${OUTPUT}.rc")
execute_process(
  COMMAND "${WINDRES}" "--preprocessor=${PREPROCESSOR}" --preprocessor-arg=-DRC_INVOKED
          -i "${RC_FILE}" -o "${OUTPUT}"
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR NOT EXISTS "${OUTPUT}")
  message(FATAL_ERROR "windres could not compile ${RC_FILE} (${result}):\n${output}")
endif()

execute_process(
  COMMAND "${WINDRES}" -i "${OUTPUT}" -O rc
  RESULT_VARIABLE result OUTPUT_VARIABLE text ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "windres could not read back ${OUTPUT} (${result}):\n${errors}")
endif()

set(problems "")
function(expect regex what)
  if(NOT text MATCHES "${regex}")
    set(problems ${problems} "${what}" PARENT_SCOPE)
  endif()
endfunction()

# Icon group: one image with alpha (32 bits) per size, listed with width and height as octal
# escapes; 256 is entered as 0.
list(LENGTH SIZES count)
expect("RT_GROUP_ICON[^\n]*\nBEGIN\n[^\n]*Has ${count} elements" "the icon group does not hold ${count} images")
foreach(size IN LISTS SIZES)
  math(EXPR edge "${size} % 256")
  math(EXPR d1 "${edge} / 64")
  math(EXPR d2 "${edge} / 8 % 8")
  math(EXPR d3 "${edge} % 8")
  set(dim "\\\\${d1}${d2}${d3}")
  expect("\"${dim}${dim}\\\\000\\\\000\", 1, 32," "no 32-bit ${size}x${size} image in the icon group")
endforeach()

# Version information: numbers and strings follow the project version.
if(NOT VERSION MATCHES "^([0-9]+)\\.([0-9]+)")
  message(FATAL_ERROR "CheckResourceScript.cmake: cannot read VERSION '${VERSION}'")
endif()
set(major "${CMAKE_MATCH_1}")
set(minor "${CMAKE_MATCH_2}")
if(minor LESS 10)
  set(minor_text "0${minor}")
else()
  set(minor_text "${minor}")
endif()
expect("FILEVERSION ${major}, ${minor}, 0, 0\n" "FILEVERSION is not ${major},${minor},0,0")
expect("PRODUCTVERSION ${major}, ${minor}, 0, 0\n" "PRODUCTVERSION is not ${major},${minor},0,0")
expect("VALUE \"FileVersion\", \"${major}\\.${minor_text}\"" "FileVersion is not \"${major}.${minor_text}\"")
expect("VALUE \"ProductVersion\", \"${major}\\.${minor_text}\"" "ProductVersion is not \"${major}.${minor_text}\"")
expect("VALUE \"ProductName\", \"Kalvora\"" "ProductName is not \"Kalvora\"")
expect("VALUE \"FileDescription\", \"[^\"]+\"" "FileDescription is missing")
# One company name, the one the installer and the list of installed programs show.
expect("VALUE \"CompanyName\", \"Kalvora-Team\"" "CompanyName is not \"Kalvora-Team\"")
# The application manifest: made for Windows 10 and 11; the DPI awareness is Qt's, set at run time.
expect("1 24 /\\* RT_MANIFEST \\*/" "no application manifest")
expect("supportedOS Id=\"\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"\"" "the manifest names no Windows 10/11")
if(text MATCHES "dpiAware")
  set(problems ${problems} "the manifest sets a DPI awareness")
endif()
# German strings in Unicode, announced as such in the translation table.
expect("BLOCK \"040704B0\"" "no string table for German (040704B0)")
expect("VALUE \"Translation\", 0x407, 1200" "translation is not German/Unicode (0x407, 1200)")

if(problems)
  list(JOIN problems "\n  " problem_text)
  string(REGEX REPLACE "\n +0x[^\n]*" "" summary "${text}")  # drop the image data
  file(WRITE "${OUTPUT}.rc" "${summary}")
  message(FATAL_ERROR "${RC_FILE}:\n  ${problem_text}\n(as read back by windres: ${OUTPUT}.rc)")
endif()
message(STATUS "${RC_FILE} compiled to ${OUTPUT}; icon group and version information are right")
