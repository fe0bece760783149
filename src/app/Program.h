#pragma once

#include <functional>

#include "platform/MessageBox.h"

namespace orvane_app {

class AppContext;

// Runs the program: start-up, the boot window and the event loop until the
// boot window closes. Returns main's exit code, 0 also after an exception
// that was shown in the exception report. started, when given, runs once
// the boot window has been shown, before the event loop starts.
// The standard exception report: the exception's message (what, or none)
// with a closing full stop, captioned with the application title.
void ReportException(orvane::IMessageBox& messageBox, const char* what);

int RunProgram(int& argc, char** argv, const std::function<void(AppContext&)>& started = {});

}  // namespace orvane_app
