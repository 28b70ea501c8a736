message(STATUS "windows part")
