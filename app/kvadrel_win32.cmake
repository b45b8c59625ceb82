# kvadrel.exe, the native window: one static executable with its icon, its
# manifest (common controls 6, DPI awareness) and its version.
enable_language(RC)
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
find_program(ICOTOOL icotool REQUIRED)

# The icon of the same picture as the Linux window's, in the sizes Windows shows.
set(KVADREL_ICON "${CMAKE_CURRENT_BINARY_DIR}/kvadrel.ico")
set(icon_pictures)
foreach(size 16 24 32 48 256)
  set(picture "${CMAKE_CURRENT_BINARY_DIR}/icon/kvadrel-${size}.png")
  add_custom_command(OUTPUT "${picture}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_CURRENT_BINARY_DIR}/icon"
    COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o "${picture}"
      "${CMAKE_CURRENT_SOURCE_DIR}/kvadrel.svg"
    DEPENDS kvadrel.svg VERBATIM)
  list(APPEND icon_pictures "${picture}")
endforeach()
add_custom_command(OUTPUT "${KVADREL_ICON}"
  COMMAND ${ICOTOOL} -c -o "${KVADREL_ICON}" ${icon_pictures}
  DEPENDS ${icon_pictures} VERBATIM)

set(KVADREL_MANIFEST "${CMAKE_CURRENT_SOURCE_DIR}/kvadrel.manifest")
set(version_parts ${PROJECT_VERSION_MAJOR} ${PROJECT_VERSION_MINOR})
foreach(part PATCH TWEAK)
  if(PROJECT_VERSION_${part} STREQUAL "")
    list(APPEND version_parts 0)
  else()
    list(APPEND version_parts ${PROJECT_VERSION_${part}})
  endif()
endforeach()
list(JOIN version_parts "," KVADREL_VERSION_COMMAS)
configure_file(kvadrel.rc.in kvadrel.rc @ONLY)
set_source_files_properties("${CMAKE_CURRENT_BINARY_DIR}/kvadrel.rc" PROPERTIES
  OBJECT_DEPENDS "${KVADREL_ICON};${KVADREL_MANIFEST}")

add_executable(kvadrel WIN32 kvadrel_main_win32.cpp "${CMAKE_CURRENT_BINARY_DIR}/kvadrel.rc")
target_link_libraries(kvadrel PRIVATE kvadrel_win32)
