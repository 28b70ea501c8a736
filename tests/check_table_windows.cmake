# Windows' own cases for shop-table.exe, included at the end of
# check_table_command_line.cmake, whose functions and files they use: names
# outside the ANSI code page, and files that another program holds with a
# sharing mode that refuses writing, with the editor's lock, or with the
# read-only attribute (hold-file holds them while shop-table runs).

# Japanese, Greek and a character that UTF-16 writes as two units: none is
# in the ANSI code page, and each reaches the file and the messages whole.
set(named "${WORK}/ショップ Ωμέγα 𝄞.smc")
set(named_csv "${WORK}/表 Ψ.csv")
execute_process(COMMAND ${RUNNER} "${MAKE_IMAGE}" --seed 5 "${named}" RESULT_VARIABLE code)
if(NOT code EQUAL 0 OR NOT EXISTS "${named}")
  message(FATAL_ERROR "make-demo-image.exe did not write ${named}")
endif()
table(0 export "${clean}")
set(clean_csv "${out}")
table(0 export "${named}" -o "${named_csv}")
file(READ "${named_csv}" named_exported)
if(NOT named_exported STREQUAL clean_csv)
  message(FATAL_ERROR "export -o \"${named_csv}\" did not write the table of ${named}")
endif()
table(0 import "${named}" "${csv}")
expect("import into a name outside the code page" "${out}" "^1 shop changed in ${named}: 12\n$")
table(0 checksum "${named}" --fix)
expect("checksum --fix of a name outside the code page" "${out}" "written to ${named}\n$")
table(0 diff "${game}" "${named}")
refused("${WORK}/無い Ω.smc" "The file does not exist" export "${WORK}/無い Ω.smc")

file(SHA256 "${game}" game_hash)
set(in_use "Another copy of the editor [(]or another program that locks the file[)] has it open")
set(held_output "Another program holds a lock on this file")
# Held open by a program that lets others read it but not write it: read,
# never written, never replaced.
file(WRITE "${WORK}/held.csv" "held\n")
set(TABLE_PREFIX "${HOLD}" --deny-write "${game}")
refused("${game}" "${in_use}" import "${game}" "${csv}")
refused("${game}" "${in_use}" checksum "${game}" --fix)
table(0 export "${game}")
set(TABLE_PREFIX "${HOLD}" --deny-write "${WORK}/held.csv")
refused("${WORK}/held.csv" "${held_output}" export "${game}" -o "${WORK}/held.csv")
# The editor's lock (import's and checksum --fix's, refused in the cases
# before) leaves the image's bytes readable, and an output it holds is kept.
set(TABLE_PREFIX "${HOLD}" --lock "${game}")
table(0 export "${game}")
expect("export of a locked image" "${out}" "^shop,type,")
set(TABLE_PREFIX "${HOLD}" --lock "${WORK}/held.csv")
refused("${WORK}/held.csv" "${held_output}" export "${game}" -o "${WORK}/held.csv")
# The read-only attribute: read, never written, never replaced.
set(TABLE_PREFIX "${HOLD}" --read-only "${game}")
refused("${game}" "The file is read-only, and the editor needs to write to it" import "${game}" "${csv}")
refused("${game}" "The file is read-only" checksum "${game}" --fix)
table(0 export "${game}")
set(TABLE_PREFIX "${HOLD}" --read-only "${WORK}/held.csv")
refused("${WORK}/held.csv" "The new file could not be written [(][^)]+[)]; a file already of that name is as it was"
        export "${game}" -o "${WORK}/held.csv")
unset(TABLE_PREFIX)

file(READ "${WORK}/held.csv" held)
file(SHA256 "${game}" after_hash)
file(GLOB temporary "${WORK}/.shop-*")
if(NOT held STREQUAL "held\n" OR NOT after_hash STREQUAL game_hash OR temporary)
  message(FATAL_ERROR "a held file was changed, or a temporary file was left: ${temporary}")
endif()
