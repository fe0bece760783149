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

// Shows the boot window at start. Every window is polished (given its style)
// when it is first shown, not in the event loop's first turn: the windows
// that start-up creates hidden would otherwise all be polished before the
// boot window appears.
void ShowBootWindow(AppContext& context);

int RunProgram(int& argc, char** argv, const std::function<void(AppContext&)>& started = {});

}  // namespace orvane_app
