#pragma once

#include <functional>

// What the engine does with an error that has no caller to go to (a tick of
// the cadencer that raised). The window layer installs a reporter that shows
// the error box; without one the error is written to standard error. The
// reporter is called inside the catch block, so it can rethrow to learn what
// was raised.
using GxErrorReporter = std::function<void()>;

// Installs a reporter; returns the previous one. An empty one restores
// standard error.
GxErrorReporter SetGxErrorReporter(GxErrorReporter reporter);

// Hands the exception being handled to the reporter (call inside a catch
// block).
void ReportGxError();
