# shop-table's command line as a script uses it, without a display, on
# demonstration images: export, an edit of the CSV, import (with its checks
# of the labels and of the image's table), diff, patches, the checksum before
# and after --fix, the item names of the image (names, find-names), then
# usage errors (exit 2) and refused files (exit 1, with one line that names
# the file). -q leaves the exit status alone to tell the outcome.
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

# A refusal that leaves image as it was.
function(refused_untouched image path pattern)
  file(SHA256 "${image}" before)
  refused("${path}" "${pattern}" ${ARGN})
  file(SHA256 "${image}" after)
  if(NOT after STREQUAL before)
    message(FATAL_ERROR "shop-table ${ARGN} was refused, yet changed ${image}")
  endif()
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
# The codes alone, and where each shop lies.
table(0 export "${game}" --no-labels)
expect("export --no-labels" "${out}" "^shop,type,slot1,slot2,slot3,slot4,slot5,slot6,slot7,slot8\n0,[0-9A-F,]+\n1,")
table(0 export "${game}" --addresses --no-labels -o "${WORK}/addresses.csv")
file(READ "${WORK}/addresses.csv" with_addresses)
expect("export --addresses" "${with_addresses}" "^shop,type,[a-z0-9,]+,slot8,snes_address,file_offset\n.*\n12,[0-9A-F,]+,[$]C4:7B2C,0x47D2C\n13,")
table(0 export "${headerless}" --addresses)
expect("export --addresses, headerless" "${out}" "\n12,[0-9A-F,]+,[$]C4:7B2C,0x47B2C,[^,]+,")
table(0 import "${game}" "${WORK}/addresses.csv")
expect("import of a CSV with addresses" "${out}${err}" "^0 shops changed in ${game}\n$")

# Edit shop 12 as a script would, import, import again.
execute_process(COMMAND sed -i -e "s/^12,[^,]*,[^,]*,[^,]*,/12,01,2B,2C,/" "${csv}" RESULT_VARIABLE code)
table(0 import "${game}" "${csv}")
expect("import" "${out}" "^1 shop changed in ${game}: 12\n$")
# The labels still name the codes the image had: the codes were changed, not the labels.
expect("import, labels as exported" "${err}" "^$")
table(0 import "${game}" "${csv}" -q)
expect("import again" "${out}" "^$")
set(label_names_another "names code [0-9A-F][0-9A-F], but slot1 holds 2B [(]\"2B: [^\"]+\"[)], which is what is imported[.]")
expect("import again: the labels left behind" "${err}" "^(shop-table: ${csv}: Line 14, column [a-z0-9_]+: [^\n]+\n)*shop-table: ${csv}: Line 14, column slot1_label: \"[0-9A-F][0-9A-F]: [^\n]+\" ${label_names_another}\n")

# A label edited instead of its code: imported as the code says, with a warning naming line and column.
file(READ "${csv}" text)
string(REPEAT "[^,\n]*," 10 fields) # type, slot1-slot8 and type_label
string(REGEX REPLACE "\n(20,${fields})[0-9A-F][0-9A-F]:" "\n\\1F0:" text "${text}")
file(WRITE "${WORK}/label.csv" "${text}")
table(0 import "${game}" "${WORK}/label.csv" -q)
expect("a label edited" "${err}" "shop-table: ${WORK}/label.csv: Line 22, column slot1_label: \"F0: [^\n]+\" names code F0, but slot1 holds [0-9A-F][0-9A-F] [^\n]+\n$")
# A code that lost its leading zero.
string(REGEX REPLACE "\n30,([0-9A-F][0-9A-F]),[0-9A-F][0-9A-F]," "\n30,\\1,2," text "${text}")
file(WRITE "${WORK}/zero.csv" "${text}")
refused_untouched("${game}" "${WORK}/zero.csv" "Line 32, column slot1: A code must be two hexadecimal digits, such as 02, not one: a spreadsheet may have dropped its leading zero" import "${game}" "${WORK}/zero.csv")
misused("import takes no option --no-labels" import "${game}" "${csv}" --no-labels)

# An image whose table is random bytes (as another game's would be) is refused unless forced.
set(other "${WORK}/other.smc")
file(COPY_FILE "${clean}" "${other}")
# 1152 random bytes from cartridge offset 0x10000 onto the table (file offset 0x47CC0).
execute_process(COMMAND dd "if=${clean}" "of=${other}" bs=1 skip=66048 seek=294080 count=1152 conv=notrunc
                RESULT_VARIABLE code ERROR_QUIET)
refused_untouched("${other}" "${other}" "The shop table does not look like one: [0-9]+ of its 128 shops have a type code above 0x35, which the game's shops never have[.] This may be another game's image, or a hack that moved the table[.] Nothing was written; give --force to import into it all the same[.]" import "${other}" "${WORK}/addresses.csv")
table(0 import "${other}" "${WORK}/addresses.csv" --force)
expect("import --force" "${out}" "^128 shops changed in ${other}: 0, 1, 2, 3, 4, 5, 6, 7, 8, 9 and 118 more\n$")
table(0 diff "${other}" "${clean}" -q)
expect("diff -q of equal tables" "${out}${err}" "^$")

# Diff: exactly that shop, whatever the layouts; none between equal tables.
table(1 diff "${clean}" "${game}")
expect("diff" "${out}" "^shop 12: [0-9A-F][0-9A-F]( [0-9A-F][0-9A-F])+ -> 01 2B 2C( [0-9A-F][0-9A-F])+\n$")
table(1 diff "${clean}" "${game}" --quiet)
expect("diff -q" "${out}${err}" "^$")
table(1 diff "${headerless}" "${game}")
expect("diff across layouts" "${out}" "^shop 12: [^\n]+\n$")
table(0 diff "${clean}" "${headerless}")
expect("diff of equal tables" "${out}${err}" "^$")

# Patches: the cartridge contents only, so equal cartridges in two layouts give an empty one.
table(0 patch "${clean}" "${game}" -o "${WORK}/game.ips")
expect("patch from an image with a wrong checksum" "${err}" "^shop-table: ${game}: its checksum is not valid: shop-table checksum --fix writes it, then make the patch again\n$")
table(0 patch "${clean}" "${game}" -o "${WORK}/game-quiet.ips" -q)
expect("patch -q from an image with a wrong checksum" "${out}${err}" "^shop-table: ${game}: its checksum is not valid: [^\n]+\n$")
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
expect("patch between layouts of one cartridge" "${out}${err}" "^shop-table: ${headerless}: its cartridge contents are the same as those of ${clean}: the patch changes nothing\n$")
table(0 patch "${clean}" "${headerless}" -o "${WORK}/same.bps" -q)
expect("patch -q" "${out}${err}" "^$")

# Checksum: wrong after the import, fixed once, then valid.
table(0 checksum "${clean}")
expect("checksum" "${out}" "^stored checksum: ([0-9A-F]+)\nstored complement: [0-9A-F]+\ncomputed checksum: ([0-9A-F]+)\nvalid\n$")
table(0 checksum "${game}")
expect("checksum after import" "${out}" "\nnot valid\n$")
table(1 checksum "${game}" --check)
expect("checksum --check" "${out}${err}" "^stored checksum: [0-9A-F]+\nstored complement: [0-9A-F]+\ncomputed checksum: [0-9A-F]+\nnot valid\n$")
table(1 checksum -q "${game}" --check)
expect("checksum --check -q" "${out}${err}" "^$")
table(0 checksum "${clean}" --check --quiet)
expect("checksum --check -q when valid" "${out}${err}" "^$")
misused("checksum: --fix and --check do not go together" checksum "${game}" --fix --check)
table(0 checksum "${game}" --fix)
expect("checksum --fix" "${out}" "\nnot valid\nfixed: checksum [0-9A-F]+ and complement [0-9A-F]+ written to ${game}\n$")
table(0 checksum --fix "${game}" -q)
expect("checksum --fix -q when valid" "${out}${err}" "^$")
table(0 checksum --check "${game}")
expect("checksum --check after the fix" "${out}" "\nvalid\n$")
table(1 diff "${clean}" "${game}")
expect("diff after the fix" "${out}" "^shop 12: [^\n]+\n$")

# The game's own item names: a name table read with a table file, and found by relative search.
execute_process(COMMAND ${RUNNER} "${MAKE_IMAGE}" --overwrite --table-file "${WORK}/demo.tbl" "${WORK}/names.smc" RESULT_VARIABLE code)
if(NOT code EQUAL 0)
  message(FATAL_ERROR "make-demo-image --table-file failed")
endif()
# The table file never replaces an image: another one, or the one just made.
file(COPY_FILE "${clean}" "${WORK}/kept.smc")
foreach(table_path IN ITEMS "${WORK}/kept.smc" "${WORK}/names.smc")
  file(SHA256 "${table_path}" before)
  execute_process(COMMAND ${RUNNER} "${MAKE_IMAGE}" --overwrite --table-file "${table_path}" "${WORK}/names.smc"
                  RESULT_VARIABLE code ERROR_VARIABLE err)
  expect("make-demo-image --table-file over an image" "${code}: ${err}"
         "^1: make-demo-image: ${table_path}: This is an SNES image, and what this command writes never is one")
  file(SHA256 "${table_path}" after)
  if(NOT after STREQUAL before)
    message(FATAL_ERROR "make-demo-image --table-file replaced the image ${table_path}")
  endif()
endforeach()
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
table(0 find-names "${game}" "01=Copper Dagger" "1F=Iron Mace" -q)
expect("find-names -q" "${out}${err}" "^$")
table(0 find-names "${headerless}" "1f: Iron Mace" "00 Copper Knife")
expect("find-names in a headerless image" "${out}" "
[$]C3:A400, cartridge 0x3A400, file 0x3A400: ")
refused("${game}" "no name table fits these names. Try another name" find-names "${game}" "01=Copper Dagger" "1F=Iron Sword")
refused("${game}" "This is an SNES image, and what this command writes never is one" find-names "${game}" "01=Copper Dagger" "1F=Iron Mace" -o "${game}")
refused("${game}" "address: 0x400000 lies past the end of the cartridge" names "${game}" --at 0x400000 ${at})
refused("${game}" "address: the entries from 0x3FFF00 run past the end" names "${game}" --at 0x3FFF00 ${at})
refused("${game}" "address: 0xFFFFFFFFFFFFFF00 lies past the end of the cartridge [(]0x400000 bytes[)]" names "${game}" --at 0xFFFFFFFFFFFFFF00 ${at})
refused("${game}" "address: 0xFFFFFFFFFFFFFFFF lies past the end of the cartridge [(]0x400000 bytes[)]" names "${game}" --at 0xFFFFFFFFFFFFFFFF ${at})
file(WRITE "${WORK}/bad.tbl" "8A=A
8a=B
")
refused("${WORK}/bad.tbl" "line 2: the byte sequence 8a appears again [(]first on line 1[)]" names "${game}" --table "${WORK}/bad.tbl" --at 0x3A400 --length 16)
misused("names: give the table file with --table" names "${game}" --at 0x3A400 --length 16)
misused("names: give the length of an entry with --length" names "${game}" --at 0x3A400 --table "${WORK}/demo.tbl")
misused("address: \"D2B300\" is not an address" names "${game}" --at D2B300 ${at})
misused("address: \"0x10000000000000000\" is not an address" names "${game}" --at 0x10000000000000000 ${at})
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
misused("export takes no option --quiet" export "${game}" -q)
misused("export takes no option --check" export "${game}" --check)
misused("diff takes no option --force" diff "${game}" "${clean}" --force)
misused("names takes no option --quiet" names "${game}" --quiet)
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
refused_untouched("${game}" "${WORK}/bad.csv" "Line 9, column type: A code must be" import "${game}" "${WORK}/bad.csv")
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
