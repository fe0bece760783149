# orvane_test_suites(target [SPREAD regex] [LONG filter]
#                    [ENVIRONMENT var=value ...]
#                    [ENVIRONMENT_MODIFICATION var=op:value ...])
#
# Registers a GoogleTest program with ctest: a test for each test suite,
# named as the suite, that runs the suite's cases in one process. Starting a
# program (its libraries, Qt, the fixtures it prints once) costs more than
# most cases, so a test a case spent more than half of the default run on
# starts. The suites whose name matches SPREAD (regex) get a test a case,
# named Suite.Case, so that ctest spreads their long cases over the cores.
#
# The cases of LONG (a GoogleTest filter) are registered once more, a test a
# case named long.Suite.Case, with the label "long" and ORVANE_LONG_TESTS=1:
# they go through every case of theirs (tests/support/Sample.h), where the
# suite's own test goes through a sample. `ctest --preset dev` leaves the
# label out, `ctest --preset long` runs it alone.
#
# The cases are listed when ctest starts, by the program's own
# --gtest_list_tests, and kept beside it until the program changes
# (TestSuitesList.cmake).
function(orvane_test_suites target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "SPREAD;LONG" "ENVIRONMENT;ENVIRONMENT_MODIFICATION")
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${target}_suites.cmake)
  # Each value between brackets, so that no list or quote is taken apart.
  file(GENERATE OUTPUT ${script} CONTENT "\
set(orvane_target [==[${target}]==])
set(orvane_program [==[$<TARGET_FILE:${target}>]==])
set(orvane_folder [==[${CMAKE_CURRENT_BINARY_DIR}]==])
set(orvane_spread [==[${arg_SPREAD}]==])
set(orvane_long [==[${arg_LONG}]==])
set(orvane_environment [==[${arg_ENVIRONMENT}]==])
set(orvane_modification [==[${arg_ENVIRONMENT_MODIFICATION}]==])
set(orvane_cmake [==[${CMAKE_COMMAND}]==])
include([==[${PROJECT_SOURCE_DIR}/cmake/TestSuitesList.cmake]==])
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script})
endfunction()
