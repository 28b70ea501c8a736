# Makes the Debian package of the build in a scratch folder and checks what
# it installs: exactly the expected files with their modes, stripped
# programs, library dependencies found by dpkg-shlibdeps, and a desktop
# entry, metainfo, file types and change log that their own tools accept.
foreach(tool CPACK READELF VALIDATE APPSTREAM MIME_DATABASE)
  if(NOT ${tool})
    message(FATAL_ERROR "${tool} is missing; tools/install-deps --tests installs it")
  endif()
endforeach()

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    list(JOIN ARGN " " command)
    message(FATAL_ERROR "${command} failed (${result}):\n${output}")
  endif()
  set(output "${output}" PARENT_SCOPE)
endfunction()

function(expect_same what actual expected)
  set(missing ${expected})
  list(REMOVE_ITEM missing ${actual})
  set(unexpected ${actual})
  list(REMOVE_ITEM unexpected ${expected})
  if(missing OR unexpected)
    list(JOIN missing "\n  " missing)
    list(JOIN unexpected "\n  " unexpected)
    message(FATAL_ERROR "${what}\nmissing:\n  ${missing}\nunexpected:\n  ${unexpected}")
  endif()
endfunction()

file(REMOVE_RECURSE "${WORK}")
run("${CPACK}" --config "${BUILD}/CPackConfig.cmake" -G DEB -B "${WORK}")
run(dpkg --print-architecture)
string(STRIP "${output}" arch)
file(GLOB packages RELATIVE "${WORK}" "${WORK}/*.deb")
expect_same("package files made by cpack" "${packages}" "shop-editor_${VERSION}_${arch}.deb")
set(package "${WORK}/shop-editor_${VERSION}_${arch}.deb")

# Every file with its mode and owner; the folders follow from them.
set(program "-rwxr-xr-x root/root")
set(data "-rw-r--r-- root/root")
set(expected
  "${program} usr/bin/shop-editor"
  "${data} usr/share/applications/shop-editor.desktop"
  "${data} usr/share/doc/shop-editor/changelog.gz"
  "${data} usr/share/doc/shop-editor/copyright"
  "${data} usr/share/icons/hicolor/16x16/apps/shop-editor.png"
  "${data} usr/share/icons/hicolor/32x32/apps/shop-editor.png"
  "${data} usr/share/icons/hicolor/scalable/apps/shop-editor.svg"
  "${data} usr/share/man/man1/shop-editor.1.gz"
  "${data} usr/share/metainfo/org.example.shopeditor.metainfo.xml"
  "${data} usr/share/mime/packages/shop-editor.xml")
set(programs shop-editor)
if(TABLE)
  list(APPEND expected "${program} usr/bin/shop-table" "${data} usr/share/man/man1/shop-table.1.gz")
  list(APPEND programs shop-table)
endif()
run(dpkg-deb --contents "${package}")
string(REGEX MATCHALL "[^\n]+" lines "${output}")
set(installed)
foreach(line IN LISTS lines)
  if(line MATCHES "^(-[^ ]+ [^ ]+) +[0-9]+ [^ ]+ [^ ]+ \\./(.*)$")
    list(APPEND installed "${CMAKE_MATCH_1} ${CMAKE_MATCH_2}")
  elseif(NOT line MATCHES "^drwxr-xr-x root/root .* \\./usr/(.*/)?$")
    message(FATAL_ERROR "unexpected entry in the package: ${line}")
  endif()
endforeach()
expect_same("files in ${package}" "${installed}" "${expected}")

run(dpkg-deb --field "${package}" Depends Section Priority Maintainer)
foreach(field "Depends: .*libqt6widgets6" "Depends: .*qt6-qpa-plugins" "Section: devel" "Priority: optional"
              "Maintainer: [^<\n]+ <[^@>]+@[^>]+>")
  if(NOT output MATCHES "${field}")
    message(FATAL_ERROR "the package's control fields do not match '${field}':\n${output}")
  endif()
endforeach()

set(root "${WORK}/root")
run(dpkg-deb --extract "${package}" "${root}")
foreach(name IN LISTS programs)
  run("${READELF}" --section-headers "${root}/usr/bin/${name}")
  if(output MATCHES "\\.symtab|\\.debug_")
    message(FATAL_ERROR "${name} is not stripped")
  endif()
endforeach()

set(share "${root}/usr/share")
run("${VALIDATE}" "${share}/applications/shop-editor.desktop")
if(output)
  message(FATAL_ERROR "desktop entry not valid:\n${output}")
endif()
# Software centres show the newest release's version, so it must be this one;
# pedantic hints fail too, as nothing else reports them.
set(metainfo "${share}/metainfo/org.example.shopeditor.metainfo.xml")
run("${APPSTREAM}" validate --no-net --pedantic "${metainfo}")
if(output MATCHES "(^|\n)[EWIP]: ")
  message(FATAL_ERROR "metainfo not valid:\n${output}")
endif()
file(READ "${metainfo}" metainfo_text)
if(NOT metainfo_text MATCHES "<releases>[ \n]*<release version=\"${VERSION}\"")
  message(FATAL_ERROR "the metainfo's newest release is not version ${VERSION}")
endif()

# The MIME database built from the package's definition alone gives the SNES
# image type all four extensions that copier images come with.
run("${MIME_DATABASE}" "${share}/mime")
file(STRINGS "${share}/mime/globs2" globs REGEX "application/vnd.nintendo.snes.rom")
list(TRANSFORM globs REPLACE "^[0-9]+:" "")
expect_same("globs of the SNES image type" "${globs}"
  "application/vnd.nintendo.snes.rom:*.swc;application/vnd.nintendo.snes.rom:*.fig")

run(gzip --decompress --stdout "${share}/doc/shop-editor/changelog.gz")
if(NOT output MATCHES "^shop-editor \\(${VERSION}\\) ")
  message(FATAL_ERROR "the change log's first entry is not version ${VERSION}:\n${output}")
endif()
file(READ "${share}/doc/shop-editor/copyright" copyright)
if(NOT copyright MATCHES "^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
   OR NOT copyright MATCHES "\nLicense: MIT\n Permission is hereby granted")
  message(FATAL_ERROR "the copyright file does not name MIT in Debian's format:\n${copyright}")
endif()
