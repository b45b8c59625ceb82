# Windows only: what runs under Wine besides the test programs.
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  return()
endif()
find_package(Python3 REQUIRED COMPONENTS Interpreter)

# Operators' workstations run a Russian Windows: ANSI code page 1251, OEM 866.
# Wine takes them from the locale, made here for the tests alone.
set(KVADREL_TEST_LOCALE "${CMAKE_BINARY_DIR}/locale/ru_RU.UTF-8")
if(NOT EXISTS "${KVADREL_TEST_LOCALE}")
  file(MAKE_DIRECTORY "${CMAKE_BINARY_DIR}/locale")
  execute_process(COMMAND localedef -i ru_RU -f UTF-8 "${KVADREL_TEST_LOCALE}"
    RESULT_VARIABLE localedef_status)
  if(NOT localedef_status EQUAL 0)
    message(FATAL_ERROR "cannot make the ru_RU.UTF-8 locale for the tests under Wine")
  endif()
endif()

# One Wine prefix for all the tests, made once before the first of them and
# its wineserver ended after the last (tests/windows/wine.py says why).
set(wine_prefix "${CMAKE_BINARY_DIR}/wine")
set(wine_script "${PROJECT_SOURCE_DIR}/tests/windows/wine.py")
add_test(NAME WinePrefix
  COMMAND ${Python3_EXECUTABLE} "${wine_script}" prepare ${CMAKE_CROSSCOMPILING_EMULATOR}
    "${wine_prefix}")
add_test(NAME WineServerEnds
  COMMAND ${Python3_EXECUTABLE} "${wine_script}" stop ${CMAKE_CROSSCOMPILING_EMULATOR}
    "${wine_prefix}")
set_tests_properties(WinePrefix PROPERTIES FIXTURES_SETUP wine)
set_tests_properties(WineServerEnds PROPERTIES FIXTURES_CLEANUP wine)

# kvadrel-batch.exe end to end, against the Linux build's kvadrel-batch of the
# default preset (scripts/test builds that first).
set(KVADREL_LINUX_BATCH "${PROJECT_SOURCE_DIR}/build/default/app/kvadrel-batch"
  CACHE FILEPATH "kvadrel-batch of a Linux build, to compare tables with")
add_test(NAME BatchUnderWine
  COMMAND ${Python3_EXECUTABLE} "${PROJECT_SOURCE_DIR}/tests/windows/batch_under_wine.py"
    ${CMAKE_CROSSCOMPILING_EMULATOR} "${wine_prefix}" $<TARGET_FILE_DIR:kvadrel-batch>
    "${KVADREL_LINUX_BATCH}" "${PROJECT_SOURCE_DIR}")

# The installer and the zip, made by cpack as an operator's build makes them,
# then installed, upgraded and uninstalled in a fresh Wine prefix of their own.
set(windows_packages "${CMAKE_BINARY_DIR}/${KVADREL_WINDOWS_PACKAGE}")
add_test(NAME WindowsPackagesMade
  COMMAND ${CMAKE_CPACK_COMMAND} --config "${CMAKE_BINARY_DIR}/CPackConfig.cmake"
  WORKING_DIRECTORY "${CMAKE_BINARY_DIR}")
set_tests_properties(WindowsPackagesMade PROPERTIES FIXTURES_SETUP windows_packages)
add_test(NAME InstallerUnderWine
  COMMAND ${Python3_EXECUTABLE} "${PROJECT_SOURCE_DIR}/tests/windows/installer_under_wine.py"
    ${CMAKE_CROSSCOMPILING_EMULATOR} "${windows_packages}.exe" "${windows_packages}.zip"
    "${PROJECT_VERSION}" "${CMAKE_BINARY_DIR}/installer-test")
set_tests_properties(InstallerUnderWine PROPERTIES FIXTURES_REQUIRED windows_packages)

get_filename_component(wine_folder "${CMAKE_CROSSCOMPILING_EMULATOR}" DIRECTORY)
set(wine_tests platform_tests config_tests engine_tests forms_tests win32_tests BatchUnderWine)
set_tests_properties(${wine_tests} PROPERTIES
  FIXTURES_REQUIRED wine
  ENVIRONMENT "WINEPREFIX=${wine_prefix};WINESERVER=${wine_folder}/wineserver;WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml=;LOCPATH=${CMAKE_BINARY_DIR}/locale;LANG=ru_RU.UTF-8"
  ENVIRONMENT_MODIFICATION "DISPLAY=unset:;WAYLAND_DISPLAY=unset:")
