# Read by ctest (TEST_INCLUDE_FILES), for one program registered by
# orvane_test_suites(): lists the program's cases and adds its tests. Set
# before: orvane_target, orvane_program, orvane_folder, orvane_spread,
# orvane_long, orvane_environment, orvane_modification, orvane_cmake.
cmake_policy(PUSH)
cmake_policy(SET CMP0057 NEW)  # if(IN_LIST)

# The cases of the program, as Suite.Case lines, for a GoogleTest filter
# ("" for all): listed once, and again only when the program is newer.
function(orvane_list_cases filter out)
  string(MAKE_C_IDENTIFIER "${filter}" key)
  set(kept "${orvane_folder}/${orvane_target}_${key}.cases")
  if(NOT "${orvane_program}" IS_NEWER_THAN "${kept}")
    file(STRINGS "${kept}" cases)
    set(${out} "${cases}" PARENT_SCOPE)
    return()
  endif()
  set(arguments --gtest_list_tests)
  if(filter)
    list(APPEND arguments "--gtest_filter=${filter}")
  endif()
  execute_process(COMMAND "${orvane_cmake}" -E env ${orvane_environment} "${orvane_program}"
                          ${arguments}
                  WORKING_DIRECTORY "${orvane_folder}" TIMEOUT 60
                  OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(WARNING "${orvane_program} --gtest_list_tests failed (${result}): ${errors}")
    set(${out} "" PARENT_SCOPE)
    return()
  endif()
  # "Suite." lines, each followed by its "  Case" lines; either may carry a
  # "  # GetParam() = ..." comment.
  string(REPLACE ";" "\\;" listing "${listing}")
  string(REPLACE "\n" ";" lines "${listing}")
  set(cases "")
  set(suite "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE " *#.*$" "" line "${line}")
    if(line MATCHES "^([^ ].*)\\.$")
      set(suite "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^  +([^ ]+)$" AND suite)
      set(case "${CMAKE_MATCH_1}")
      if(NOT case MATCHES "^DISABLED_")
        list(APPEND cases "${suite}.${case}")
      endif()
    endif()
  endforeach()
  string(REPLACE ";" "\n" text "${cases}")
  file(WRITE "${kept}" "${text}\n")
  set(${out} "${cases}" PARENT_SCOPE)
endfunction()

# The tests keep the memory they free for their next pictures (glibc's
# malloc): a page's picture is 36 MB, more than malloc takes from its heap by
# itself, and mapped afresh for each picture the kernel's page faults took
# more time than the reading.
set(orvane_malloc
    GLIBC_TUNABLES=glibc.malloc.mmap_threshold=4294967295:glibc.malloc.trim_threshold=4294967295)
list(PREPEND orvane_environment ${orvane_malloc})

function(orvane_add_case_test name filter)
  add_test("${name}" "${orvane_program}" "--gtest_filter=${filter}")
  set_tests_properties("${name}" PROPERTIES WORKING_DIRECTORY "${orvane_folder}"
                                            ENVIRONMENT "${orvane_environment}" ${ARGN})
  if(orvane_modification)
    set_tests_properties("${name}" PROPERTIES ENVIRONMENT_MODIFICATION "${orvane_modification}")
  endif()
endfunction()

if(NOT EXISTS "${orvane_program}")
  # As GoogleTest's own discovery does: a test that fails, naming the program.
  add_test("${orvane_target}_NOT_BUILT" "${orvane_program}")
else()
  orvane_list_cases("" all)
  set(suites "")
  foreach(case IN LISTS all)
    string(REGEX REPLACE "\\.[^.]*$" "" suite "${case}")
    if(orvane_spread AND suite MATCHES "${orvane_spread}")
      # A case alone; one that skips itself is reported as skipped.
      orvane_add_case_test("${case}" "${case}" SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
    elseif(NOT suite IN_LIST suites)
      list(APPEND suites "${suite}")
      orvane_add_case_test("${suite}" "${suite}.*")
    endif()
  endforeach()

  if(orvane_long)
    orvane_list_cases("${orvane_long}" long)
    set(environment ${orvane_environment})
    list(PREPEND environment ORVANE_LONG_TESTS=1)
    foreach(case IN LISTS long)
      orvane_add_case_test("long.${case}" "${case}" LABELS long
                           SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
      set_tests_properties("long.${case}" PROPERTIES ENVIRONMENT "${environment}")
    endforeach()
  endif()
endif()
cmake_policy(POP)
