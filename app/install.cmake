# The installed layout: the programs in lib/kvadrel with links in bin, the
# code-value file in the configuration folder with a link to it beside the
# programs (they read it beside their own, real, path), manual pages, the
# icon, the menu entry and the systemd user unit.
include(GNUInstallDirs)

set(program_dir lib/kvadrel)
set(programs kvadrel-batch kvadrel-dump)
# A build without the window (KVADREL_WINDOW off) installs the rest.
if(TARGET kvadrel)
  list(PREPEND programs kvadrel)
endif()
# The configuration folder is /etc for the prefix /usr, <prefix>/etc otherwise.
cmake_path(IS_PREFIX CMAKE_INSTALL_PREFIX "${CMAKE_INSTALL_FULL_SYSCONFDIR}" NORMALIZE
  config_in_prefix)
if(config_in_prefix)
  set(config_dir "${CMAKE_INSTALL_SYSCONFDIR}/kvadrel")
  file(RELATIVE_PATH code_value_link "${CMAKE_INSTALL_PREFIX}/${program_dir}"
    "${CMAKE_INSTALL_FULL_SYSCONFDIR}/kvadrel/kvadrel.INI")
else()
  set(config_dir "${CMAKE_INSTALL_FULL_SYSCONFDIR}/kvadrel")
  set(code_value_link "${config_dir}/kvadrel.INI")
endif()

install(TARGETS ${programs} RUNTIME DESTINATION ${program_dir})
install(FILES kvadrel.INI DESTINATION ${config_dir})

# The links are made here and installed as links.
set(links "${CMAKE_CURRENT_BINARY_DIR}/links")
file(MAKE_DIRECTORY "${links}/bin" "${links}/${program_dir}")
foreach(program IN LISTS programs)
  file(CREATE_LINK "../${program_dir}/${program}" "${links}/bin/${program}" SYMBOLIC)
  install(FILES "${links}/bin/${program}" DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()
file(CREATE_LINK "${code_value_link}" "${links}/${program_dir}/kvadrel.INI" SYMBOLIC)
install(FILES "${links}/${program_dir}/kvadrel.INI" DESTINATION ${program_dir})

# Manual pages, compressed as Debian wants them.
set(pages)
foreach(page IN LISTS programs)
  set(page ${page}.1)
  add_custom_command(OUTPUT "${CMAKE_CURRENT_BINARY_DIR}/man/${page}.gz"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_CURRENT_BINARY_DIR}/man"
    COMMAND gzip -9 -n -c "${CMAKE_CURRENT_SOURCE_DIR}/man/${page}" > "man/${page}.gz"
    DEPENDS "man/${page}" WORKING_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}" VERBATIM)
  list(APPEND pages "${CMAKE_CURRENT_BINARY_DIR}/man/${page}.gz")
endforeach()
add_custom_target(manual_pages ALL DEPENDS ${pages})
install(FILES ${pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

if(TARGET kvadrel)
  install(FILES kvadrel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES kvadrel.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

set(KVADREL_BATCH_PATH "${CMAKE_INSTALL_FULL_BINDIR}/kvadrel-batch")
configure_file(kvadrel-batch.service.in kvadrel-batch.service @ONLY)
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/kvadrel-batch.service" DESTINATION lib/systemd/user)
