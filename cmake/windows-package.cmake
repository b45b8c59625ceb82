# The Windows installer and zip, made by `cpack` in a build configured with
# the "windows" preset: kvadrel-<version>-win64.exe (NSIS, from Debian's nsis)
# and kvadrel-<version>-win64.zip with the same files. Included after app/,
# so that every program app/ defines is installed, the window too when the
# build has it.
set(packaging "${PROJECT_BINARY_DIR}/packaging")

# The programs and the code-value file lie side by side, where the programs
# read it.
set(shipped_programs)
foreach(program kvadrel kvadrel-batch kvadrel-dump)
  if(TARGET ${program})
    list(APPEND shipped_programs ${program})
  endif()
endforeach()
install(TARGETS ${shipped_programs} RUNTIME DESTINATION .)
# Stripped when linked, with no time stamp in the header: the same sources
# give the same bytes, in the installer and the zip alike (a strip by cpack
# would stamp each copy with the time it ran).
foreach(program IN LISTS shipped_programs)
  target_link_options(${program} PRIVATE $<$<CONFIG:Release,MinSizeRel>:-s>
    -Wl,--no-insert-timestamp)
endforeach()
install(FILES app/kvadrel.INI DESTINATION .)

# The licence with Windows line ends, for the installer's page and Notepad.
file(READ "${PROJECT_SOURCE_DIR}/LICENSE" licence)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/LICENSE")
string(REPLACE "\n" "\r\n" licence "${licence}")
file(WRITE "${packaging}/LICENSE.txt" "${licence}")
install(FILES "${packaging}/LICENSE.txt" DESTINATION .)

# What the uninstaller removes: every file installed but the code-value file,
# which it removes only when the operator has not edited it.
set(uninstall_list "; Made by cmake/windows-package.cmake.\n!macro DeleteShippedFiles\n")
foreach(program IN LISTS shipped_programs)
  string(APPEND uninstall_list "  Delete \"$INSTDIR\\$<TARGET_FILE_NAME:${program}>\"\n")
endforeach()
string(APPEND uninstall_list "  Delete \"$INSTDIR\\LICENSE.txt\"\n!macroend\n")
file(GENERATE OUTPUT "${packaging}/shipped_files.nsh" CONTENT "${uninstall_list}")

set(CPACK_GENERATOR NSIS64 ZIP)
set(CPACK_PACKAGE_NAME kvadrel)
set(CPACK_PACKAGE_VENDOR "kvadrel developers")
# The packages' name without its extension; CPack's own variable for it does
# not keep its value past include(CPack).
set(KVADREL_WINDOWS_PACKAGE "kvadrel-${PROJECT_VERSION}-win64")
set(CPACK_PACKAGE_FILE_NAME "${KVADREL_WINDOWS_PACKAGE}")
set(CPACK_RESOURCE_FILE_LICENSE "${packaging}/LICENSE.txt")
# Our own installer script (packaging/windows/NSIS.template.in) and what it
# includes.
set(CPACK_MODULE_PATH "${PROJECT_SOURCE_DIR}/packaging/windows")
set(CPACK_KVADREL_SHIPPED_FILES "${packaging}/shipped_files.nsh")
include(CPack)
