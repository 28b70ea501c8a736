# shop-table's command line as a script uses it, without a display, on
# demonstration images: export, an edit of the CSV, import, diff, patches,
# the checksum before and after --fix, the item names of the image (names,
# find-names), then usage errors (exit 2) and refused files (exit 1, with
# one line that names the file).
# Usage: cmake -DTABLE=shop-table -DMAKE_IMAGE=make-demo-image -DWORK=folder -P check_table_command_line.cmake
# On Windows, also -DHOLD=hold-file (tests/windows), which adds Windows' own
# cases; -DRUNNER=emulator runs both programs under one (Wine).

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
set(clean "${WORK}/clean.smc")
set(game "${WORK}/game.smc")
set(headerless "${WORK}/game.sfc")
set(csv "${WORK}/table.csv")

# Runs shop-table with the arguments after expected_code; sets out and err.
function(table expected_code)
  execute_process(
    COMMAND "${CMAKE_COMMAND}" -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM ${RUNNER}
            ${TABLE_PREFIX} "${TABLE}" ${ARGN}
    RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
  if(NOT code EQUAL expected_code)
    message(FATAL_ERROR "shop-table ${ARGN}: exit ${code}, expected ${expected_code}; printed:\n${out}${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

function(expect what text pattern)
  if(NOT text MATCHES "${pattern}")
    message(FATAL_ERROR "${what}: expected to match '${pattern}', got:\n${text}")
  endif()
endfunction()

# A refusal: exit 1 and one line on stderr, which starts with the file's name.
function(refused path pattern)
  table(1 ${ARGN})
  expect("shop-table ${ARGN}" "${err}" "^shop-table: ${path}: ${pattern}[^\n]*\n$")
endfunction()

# A usage error: exit 2, the problem and a usage line, nothing else done.
function(misused pattern)
  table(2 ${ARGN})
  expect("shop-table ${ARGN}" "${err}" "^shop-table: ${pattern}[^\n]*\nusage: shop-table [^\n]+\n$")
endfunction()

foreach(image IN ITEMS "${clean}" "${game}")
  execute_process(COMMAND ${RUNNER} "${MAKE_IMAGE}" --seed 5 "${image}" RESULT_VARIABLE code)
  if(NOT code EQUAL 0)
    message(FATAL_ERROR "make-demo-image failed")
  endif()
endforeach()
execute_process(COMMAND ${RUNNER} "${MAKE_IMAGE}" --seed 5 --headerless "${headerless}")
file(SHA256 "${clean}" clean_hash)
file(SHA256 "${headerless}" headerless_hash)

# Export: to a file, and the same bytes on standard output.
table(0 export "${game}" -o "${csv}")
expect("export -o" "${out}${err}" "^$")
file(READ "${csv}" exported)
expect("exported CSV" "${exported}" "^shop,type,slot1,slot2,slot3,slot4,slot5,slot6,slot7,slot8,type_label,slot1_label,[^\n]*slot8_label\n0,")
string(REGEX MATCHALL "\n" lines "${exported}")
list(LENGTH lines count)
if(NOT count EQUAL 129)
  message(FATAL_ERROR "export wrote ${count} lines, expected a header and 128 shops")
endif()
table(0 export "${game}")
if(NOT out STREQUAL exported)
  message(FATAL_ERROR "export to standard output differs from export -o")
endif()
# Written where the name leads: into a pipe, and through a link to its target.
if(NOT HOLD)
  table(0 export "${game}" -o /dev/stdout)
  if(NOT out STREQUAL exported)
    message(FATAL_ERROR "export -o /dev/stdout differs from export -o")
  endif()
endif()
file(WRITE "${WORK}/target.csv" "old\n")
file(CREATE_LINK "target.csv" "${WORK}/link.csv" SYMBOLIC)
table(0 export "${game}" -o=${WORK}/link.csv)
file(READ "${WORK}/target.csv" through_link)
if(NOT IS_SYMLINK "${WORK}/link.csv" OR NOT through_link STREQUAL exported)
  message(FATAL_ERROR "export -o through a link did not write its target, or replaced the link")
endif()
file(WRITE "${WORK}/names.txt" "# our names\nFF: Nothing Here\n")
table(0 export "${game}" --item-names "${WORK}/names.txt")
expect("export --item-names" "${out}" ",FF: Nothing Here")

# Edit shop 12 as a script would, import, import again.
execute_process(COMMAND sed -i -e "s/^12,[^,]*,[^,]*,[^,]*,/12,01,2B,2C,/" "${csv}" RESULT_VARIABLE code)
table(0 import "${game}" "${csv}")
expect("import" "${out}" "^1 shop changed in ${game}\n$")
table(0 import "${game}" "${csv}")
expect("import again" "${out}" "^0 shops changed in ${game}\n$")

# Diff: exactly that shop, whatever the layouts; none between equal tables.
table(1 diff "${clean}" "${game}")
expect("diff" "${out}" "^shop 12: [0-9A-F][0-9A-F]( [0-9A-F][0-9A-F])+ -> 01 2B 2C( [0-9A-F][0-9A-F])+\n$")
table(1 diff "${headerless}" "${game}")
expect("diff across layouts" "${out}" "^shop 12: [^\n]+\n$")
table(0 diff "${clean}" "${headerless}")
expect("diff of equal tables" "${out}${err}" "^$")

# Patches: the cartridge contents only, so equal cartridges in two layouts give an empty one.
table(0 patch "${clean}" "${game}" -o "${WORK}/game.ips")
file(READ "${WORK}/game.ips" ips HEX)
expect("IPS patch" "${ips}" "^5041544348(.+)454f46$")
string(LENGTH "${ips}" size)
if(size GREATER 80)
  message(FATAL_ERROR "the IPS patch of one shop holds ${size} hex digits")
endif()
table(0 patch "${clean}" "${game}" -o "${WORK}/game.BPS")
file(READ "${WORK}/game.BPS" bps HEX)
expect("BPS patch" "${bps}" "^42505331")
table(0 patch "${clean}" "${headerless}" -o "${WORK}/same.ips")
file(READ "${WORK}/same.ips" same HEX)
expect("patch between layouts of one cartridge" "${same}" "^5041544348454f46$")

# Checksum: wrong after the import, fixed once, then valid.
table(0 checksum "${clean}")
expect("checksum" "${out}" "^stored checksum: ([0-9A-F]+)\nstored complement: [0-9A-F]+\ncomputed checksum: ([0-9A-F]+)\nvalid\n$")
table(0 checksum "${game}")
expect("checksum after import" "${out}" "\nnot valid\n$")
table(0 checksum "${game}" --fix)
expect("checksum --fix" "${out}" "\nnot valid\nfixed: checksum [0-9A-F]+ and complement [0-9A-F]+ written to ${game}\n$")
table(0 checksum --fix "${game}")
expect("checksum --fix when valid" "${out}" "\nvalid\n$")
table(1 diff "${clean}" "${game}")
expect("diff after the fix" "${out}" "^shop 12: [^\n]+\n$")

# The game's own item names: a name table read with a table file, and found by relative search.
execute_process(COMMAND ${RUNNER} "${MAKE_IMAGE}" --overwrite --table-file "${WORK}/demo.tbl" "${WORK}/names.smc" RESULT_VARIABLE code)
if(NOT code EQUAL 0)
  message(FATAL_ERROR "make-demo-image --table-file failed")
endif()
file(SHA256 "${game}" game_hash)
set(at --table "${WORK}/demo.tbl" --length 16 --skip 1)
table(0 names "${game}" --at "$C3:A400" ${at})
expect("names" "${out}" "^00: Copper Knife
01: Copper Dagger
02: Copper Sword
.*
FE: Fine Incense
$")
expect("names, skipped lines" "${err}" "^shop-table: ${WORK}/demo.tbl: 2 lines skipped: 1 control code [(][$]HH=...[)], 1 bookmark [^
]*
$")
string(REGEX MATCHALL "
" lines "${out}")
list(LENGTH lines count)
if(NOT count EQUAL 255)
  message(FATAL_ERROR "names printed ${count} lines, expected one for each code 00-FE")
endif()
set(names_file "${out}")
foreach(address IN ITEMS "0x3A400" "c3:a400" "$43A400")
  table(0 names "${game}" --at "${address}" ${at})
  if(NOT out STREQUAL names_file)
    message(FATAL_ERROR "names --at ${address} printed other names")
  endif()
endforeach()
table(0 names "${headerless}" "--at=0x3A410" --codes 01-02 ${at})
expect("names --codes" "${out}" "^01: Copper Dagger
02: Copper Sword
$")
file(WRITE "${WORK}/game-names.txt" "${names_file}")
table(0 export "${game}" --item-names "${WORK}/game-names.txt")
expect("export with the names read" "${out}" ",FF: Empty
")
expect("export with the names read" "${out}" ",[0-9A-F][0-9A-F]: (Copper|Bronze|Iron|Steel|Silver|Ember|Frost|Star) ")
table(0 names "${game}" --at "$C3:9000" ${at})
expect("names at the wrong address" "${err}" "shop-table: ${game}: more than half of the bytes read have no entry")

table(0 find-names "${game}" "01=Copper Dagger" "1F=Iron Mace" -o "${WORK}/found.tbl")
expect("find-names" "${out}" "^1 place fits the names:
[$]C3:A400, cartridge 0x3A400, file 0x3A600: entries of 16 bytes, skip 1, end byte 00, codes 00-FE
  00: Copper Knife
  01: Copper Dagger
  02: Copper [[]F0[]][[]10[]]
")
file(READ "${WORK}/found.tbl" found)
expect("table file found" "${found}" "^# Learnt by relative search from 01=Copper Dagger 1F=Iron Mace
# [$]C3:A400, [^
]*
/00
60= 
8A=A
")
table(0 names "${game}" --table "${WORK}/found.tbl" --at 0x3A400 --length 16 --skip 1)
expect("names with the table found" "${out}" "^00: Copper Knife
01: Copper Dagger
02: Copper [[]F0[]][[]10[]]
")
table(0 find-names "${headerless}" "1f: Iron Mace" "00 Copper Knife")
expect("find-names in a headerless image" "${out}" "
[$]C3:A400, cartridge 0x3A400, file 0x3A400: ")
refused("${game}" "no name table fits these names. Try another name" find-names "${game}" "01=Copper Dagger" "1F=Iron Sword")
refused("${game}" "This is an SNES image, and what this command writes never is one" find-names "${game}" "01=Copper Dagger" "1F=Iron Mace" -o "${game}")
refused("${game}" "address: 0x400000 lies past the end of the cartridge" names "${game}" --at 0x400000 ${at})
refused("${game}" "address: the entries from 0x3FFF00 run past the end" names "${game}" --at 0x3FFF00 ${at})
file(WRITE "${WORK}/bad.tbl" "8A=A
8a=B
")
refused("${WORK}/bad.tbl" "line 2: the byte sequence 8a appears again [(]first on line 1[)]" names "${game}" --table "${WORK}/bad.tbl" --at 0x3A400 --length 16)
misused("names: give the table file with --table" names "${game}" --at 0x3A400 --length 16)
misused("names: give the length of an entry with --length" names "${game}" --at 0x3A400 --table "${WORK}/demo.tbl")
misused("address: \"D2B300\" is not an address" names "${game}" --at D2B300 ${at})
misused("address: \"[$]7E:2000\" shows no cartridge byte in the HiROM map" names "${game}" --at "$7E:2000" ${at})
misused("entry length: an entry has 1 to 64 bytes, not 65" names "${game}" --at 0x3A400 --table x.tbl --length 65)
misused("entry length: \"16b\" is not a whole number" names "${game}" --at 0x3A400 --table x.tbl --length 16b)
misused("bytes to skip: skipping 16 bytes leaves nothing of an entry of 16" names "${game}" --at 0x0 --table x.tbl --length 16 --skip 16)
misused("codes: \"00-FG\" is not a range of codes" names "${game}" --at 0x0 --table x.tbl --length 16 --codes 00-FG)
misused("option --at is given twice" names "${game}" --at 0x0 --at 0x1)
misused("option --table needs a value after it" names "${game}" --at 0x0 --length 1 --table)
misused("export takes no option --table" export "${game}" --table x.tbl)
misused("find-names: give at least 2 names with their codes" find-names "${game}" "01=Copper Dagger")
misused("find-names: \"Kris\" is not an item code and its name" find-names "${game}" "01=Copper Dagger" Kris)
misused("find-names: code FF is the empty slot" find-names "${game}" "01=Copper Dagger" "FF=Empty")
misused("find-names takes no option --fix" find-names "${game}" "01=Copper Dagger" "1F=Iron Mace" --fix)
file(SHA256 "${game}" after_hash)
if(NOT after_hash STREQUAL game_hash)
  message(FATAL_ERROR "names or find-names changed the image")
endif()

table(0 --version)
expect("--version" "${out}" "^shop-table [0-9]+\\.[0-9]+\n$")
table(0 --help)
expect("--help" "${out}" "^Usage: shop-table COMMAND.*export.*import.*diff.*patch.*checksum.*names.*find-names.*Exit status")

misused("no command given")
misused("unknown command 'frobnicate'" frobnicate "${game}")
misused("unknown option '--frob'" export "${game}" --frob)
misused("export: a file name is missing" export)
misused("export: one file name too many" export "${game}" "${clean}")
misused("import takes no option -o" import "${game}" "${csv}" -o "${WORK}/x.csv")
misused("checksum takes no option --item-names" checksum "${game}" --item-names "${WORK}/names.txt")
misused("patch: give the patch to write with -o" patch "${clean}" "${game}")
misused("patch: the name after -o must end in .ips or .bps" patch "${clean}" "${game}" -o "${WORK}/p.zip")
misused("option -o needs a file name" export "${game}" -o)
misused("option -o needs a file name" export "${game}" -o=)

refused("${WORK}/missing.smc" "The file does not exist" export "${WORK}/missing.smc")
refused("${WORK}/table.csv" "Its size is not that of an SNES cartridge image" checksum "${csv}")
file(CREATE_LINK "${clean}" "${WORK}/clean.ips" SYMBOLIC)
set(an_image "This is an SNES image, and what this command writes never is one")
refused("${WORK}/clean.ips" "${an_image}" patch "${clean}" "${game}" -o "${WORK}/clean.ips")
refused("${clean}" "${an_image}" export "${clean}" -o "${clean}")
# Another image, which this command does not read: an output is never an image.
refused("${headerless}" "${an_image}" export "${game}" -o "${headerless}")
refused("${headerless}" "${an_image}" export "${clean}" -o=${headerless})
# Standard output that is an image (opened without cutting it short) is refused too.
if(NOT HOLD)
  execute_process(COMMAND sh -c "exec \"$0\" export \"$1\" -o /dev/stdout >>\"$2\"" "${TABLE}" "${game}" "${headerless}"
                  RESULT_VARIABLE code ERROR_VARIABLE err)
  expect("export -o /dev/stdout >>image" "${code}: ${err}" "^1: shop-table: /dev/stdout: ${an_image}")
endif()
file(SHA256 "${headerless}" after_hash)
if(NOT after_hash STREQUAL headerless_hash)
  message(FATAL_ERROR "an output replaced an image")
endif()
file(WRITE "${WORK}/bad-names.txt" "2A: One\n2a: Two\n")
refused("${WORK}/bad-names.txt" "line 2: code 2A appears again" export "${game}" --item-names "${WORK}/bad-names.txt")
file(READ "${csv}" text)
string(REGEX REPLACE "\n7,[0-9A-F][0-9A-F]," "\n7,1G," text "${text}")
file(WRITE "${WORK}/bad.csv" "${text}")
file(SHA256 "${game}" game_hash)
refused("${WORK}/bad.csv" "Line 9, column type: A code must be" import "${game}" "${WORK}/bad.csv")
file(SHA256 "${game}" after_hash)
if(NOT after_hash STREQUAL game_hash)
  message(FATAL_ERROR "a refused CSV changed the image")
endif()
# An image open in the editor (here: locked by flock, as the editor locks it;
# on Windows by hold-file, with the editor's own lock) is refused.
if(HOLD)
  set(TABLE_PREFIX "${HOLD}" --lock "${game}")
else()
  set(TABLE_PREFIX flock "${game}")
endif()
refused("${game}" "Another copy of the editor" import "${game}" "${csv}")
refused("${game}" "Another copy of the editor" checksum "${game}" --fix)
unset(TABLE_PREFIX)
file(SHA256 "${clean}" after_hash)
if(NOT after_hash STREQUAL clean_hash)
  message(FATAL_ERROR "the clean image was changed")
endif()

if(HOLD)
  include("${CMAKE_CURRENT_LIST_DIR}/check_table_windows.cmake")
endif()
