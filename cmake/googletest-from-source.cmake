# GoogleTest built from Debian's sources (package googletest) for a cross
# build, where no GoogleTest for the target system is installed.
set(KVADREL_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${KVADREL_GOOGLETEST_SOURCE} googletest EXCLUDE_FROM_ALL SYSTEM)
# GoogleTest's own build names its targets GTest::gtest and GTest::gtest_main.
