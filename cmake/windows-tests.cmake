# Windows only: what runs under Wine besides the test programs.

# Operators' workstations run a Russian Windows: ANSI code page 1251, OEM 866.
# Wine takes them from the locale, made here for the tests alone (LOCPATH and
# LANG in the windows test preset).
set(KVADREL_TEST_LOCALE "${CMAKE_BINARY_DIR}/locale/ru_RU.UTF-8")
if(CMAKE_CROSSCOMPILING AND NOT EXISTS "${KVADREL_TEST_LOCALE}")
  file(MAKE_DIRECTORY "${CMAKE_BINARY_DIR}/locale")
  execute_process(COMMAND localedef -i ru_RU -f UTF-8 "${KVADREL_TEST_LOCALE}"
    RESULT_VARIABLE localedef_status)
  if(NOT localedef_status EQUAL 0)
    message(FATAL_ERROR "cannot make the ru_RU.UTF-8 locale for the tests under Wine")
  endif()
endif()

# kvadrel-batch.exe end to end, against the Linux build's kvadrel-batch of the
# default preset (scripts/test builds that first).
if(CMAKE_CROSSCOMPILING_EMULATOR)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  set(KVADREL_LINUX_BATCH "${PROJECT_SOURCE_DIR}/build/default/app/kvadrel-batch"
    CACHE FILEPATH "kvadrel-batch of a Linux build, to compare tables with")
  add_test(NAME BatchUnderWine
    COMMAND ${Python3_EXECUTABLE} "${PROJECT_SOURCE_DIR}/tests/windows/batch_under_wine.py"
      ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE_DIR:kvadrel-batch>
      "${KVADREL_LINUX_BATCH}" "${PROJECT_SOURCE_DIR}")
endif()
