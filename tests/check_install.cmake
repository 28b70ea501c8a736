# Installs the build into a scratch prefix and checks that the desktop finds
# the program: the executable, a valid desktop entry and the icons.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

foreach(file bin/shop-editor share/applications/shop-editor.desktop
             share/icons/hicolor/16x16/apps/shop-editor.png share/icons/hicolor/32x32/apps/shop-editor.png)
  if(NOT EXISTS "${PREFIX}/${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

if(NOT VALIDATE)
  message(FATAL_ERROR "desktop-file-validate is missing (Debian package desktop-file-utils)")
endif()
execute_process(COMMAND "${VALIDATE}" "${PREFIX}/share/applications/shop-editor.desktop"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR output)
  message(FATAL_ERROR "desktop entry not valid:\n${output}")
endif()
