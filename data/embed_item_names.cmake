# Turns item_names.txt into a list of C++ string literals, one per item code,
# and refuses a table that would not give exactly 255 names of at most 12
# printable ASCII characters.
# Usage: cmake -DINPUT=item_names.txt -DOUTPUT=ItemNames.inc -P embed_item_names.cmake

file(STRINGS "${INPUT}" lines ENCODING UTF-8)
set(body "")
set(count 0)
foreach(line IN LISTS lines)
  if(line MATCHES "^#" OR line STREQUAL "")
    continue()
  endif()
  string(LENGTH "${line}" length)
  if(length GREATER 12 OR NOT line MATCHES "^[ -~]+$")
    message(FATAL_ERROR "${INPUT}: item name '${line}' is not 1-12 printable ASCII characters")
  endif()
  string(REPLACE "\\" "\\\\" line "${line}")
  string(REPLACE "\"" "\\\"" line "${line}")
  string(APPEND body "    \"${line}\",\n")
  math(EXPR count "${count} + 1")
endforeach()
if(NOT count EQUAL 255)
  message(FATAL_ERROR "${INPUT}: expected 255 item names (codes 0x00-0xFE), found ${count}")
endif()
set(content "// Generated from item_names.txt by embed_item_names.cmake.\n${body}")
# Rewrite only on change, so that an unchanged table rebuilds nothing.
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
  if(old STREQUAL content)
    return()
  endif()
endif()
file(WRITE "${OUTPUT}" "${content}")
