#!/usr/bin/env bash
# A test program's --gtest_list_tests, for the check of CheckTestSuites.cmake.
cat <<'LIST'
Alone.
  First
  Second
Twice.
  Case
Shards/Spread.
  Part/0  # GetParam() = 0
  Part/1  # GetParam() = 1
Forgotten.
  Case
LIST
