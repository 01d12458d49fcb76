# GoogleTest from the distribution's sources, built by each compiler.
set(QUILLET_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(${QUILLET_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

# One ctest test per TEST() found in the sources, each run through the emulator
# (Wine) when cross-compiling. LOCK names a resource that tests must not share.
function(quillet_add_gtests target)
  cmake_parse_arguments(ARG "" "LOCK" "" ${ARGN})
  get_target_property(sources ${target} SOURCES)
  gtest_add_tests(TARGET ${target} SOURCES ${sources} TEST_LIST added)
  if(ARG_LOCK)
    set_tests_properties(${added} PROPERTIES RESOURCE_LOCK ${ARG_LOCK})
  endif()
  # Generous: a flow that waits for a schedule's minute runs about 90 s, longer under
  # the emulator that runs the 32-bit build.
  set_tests_properties(${added} PROPERTIES TIMEOUT 300)
endfunction()
