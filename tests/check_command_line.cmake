# The editor's command line without a display: --help and --version answer,
# and the window refuses to start with one line that says why.
# Usage: cmake -DEDITOR=path/to/shop-editor -P check_command_line.cmake

function(run expected_code expected_output)
  execute_process(
    COMMAND "${CMAKE_COMMAND}" -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM ${ARGN}
    RESULT_VARIABLE code OUTPUT_VARIABLE output ERROR_VARIABLE errors TIMEOUT 20)
  if(NOT code EQUAL expected_code OR NOT "${output}${errors}" MATCHES "${expected_output}")
    message(FATAL_ERROR "${ARGN}: exit ${code}, expected ${expected_code}; printed:\n${output}${errors}")
  endif()
  string(REGEX MATCHALL "\n" lines "${errors}")
  list(LENGTH lines count)
  if(NOT expected_code EQUAL 0 AND NOT count EQUAL 1)
    message(FATAL_ERROR "${ARGN}: expected one line on stderr, got:\n${errors}")
  endif()
endfunction()

run(0 "Usage: .*shop-editor.*--item-names <file>" "${EDITOR}" --help)
run(0 "^shop-editor [0-9]+\\.[0-9]+\n$" "${EDITOR}" --version)
run(1 "^shop-editor: cannot show the window: no display" "${EDITOR}")
run(1 "^shop-editor: cannot show the window: no display" "${CMAKE_COMMAND}" -E env DISPLAY=:999 "${EDITOR}" game.smc)
run(2 "^shop-editor: give at most one image file" "${EDITOR}" a.smc b.smc)
run(2 "^shop-editor: Missing value after '--item-names'" "${EDITOR}" --item-names)
# Qt's own options are Qt's; --help-all lists them; a start that fails for
# another reason than the display says what Qt said.
run(0 "-platform" "${EDITOR}" --help-all)
run(1 "^shop-editor: cannot show the window: no display" "${EDITOR}" -style Fusion --platform=xcb game.smc)
run(1 "^shop-editor: cannot show the window: .*\"bogus\"" "${CMAKE_COMMAND}" -E env DISPLAY=:999 "${EDITOR}" -platform bogus)
