# GoogleTest for a cross build: Debian's sources built with the cross compiler. They define the
# same GTest:: names that find_package(GTest) gives on the host.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# Test lists are read when the tests run, not while building, so the build never starts Wine.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
