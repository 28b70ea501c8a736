# `cpack -G DEB` in the build folder makes shop-editor_<version>_<arch>.deb,
# installing under /usr, its library dependencies worked out from the
# programs by dpkg-shlibdeps (Debian packages dpkg-dev and file).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME shop-editor)
set(CPACK_PACKAGE_VENDOR "The Shop Editor developers")
set(CPACK_PACKAGE_CONTACT "The Shop Editor developers <shop-editor@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the shop table of a Zeltharia III copier image")
# Lines as Debian shows them: under 80 characters, blank between paragraphs.
set(CPACK_PACKAGE_DESCRIPTION
  "Shop Editor opens a copier image (.smc, .sfc, .swc or .fig) of the SNES\n"
  "role-playing game Zeltharia III and shows its 128 shops one at a time,\n"
  "each with its type and eight item slots. It writes the shown shop back\n"
  "into the image in place. No other byte of the file is ever changed.")
if(TARGET shop-table)
  list(APPEND CPACK_PACKAGE_DESCRIPTION
    "\n\nshop-table, a command-line tool for build scripts, reads and writes\n"
    "the same shop table without a window.")
endif()
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})

set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its window system plugins at run time, so no library the programs
# link to names them; Debian's Qt only recommends them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)

include(CPack)
