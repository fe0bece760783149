#pragma once

#include <gtest/gtest.h>

// A test that only Linux can run, skipped on Windows with the reason (FIFOs,
// device nodes, signals, a file size limit: what Windows does not have).
// scripts/test windows counts these as Linux-only.
#ifdef _WIN32
#define ORVANE_LINUX_ONLY(reason) GTEST_SKIP() << "Linux-only: " << (reason)
#else
#define ORVANE_LINUX_ONLY(reason) static_cast<void>(0)
#endif
