#pragma once

#include <QString>

#include <functional>
#include <memory>

class QMessageBox;

// The title of the application; it heads the error box.
void setApplicationTitle(const QString& title);
QString applicationTitle();

// The message as the error box shows it: a full stop is appended when the last
// character's code is above that of "." (so after letters, digits, "?" and any
// non-ASCII character, not after ".", "!", ")", quotes or spaces).
QString withFullStop(const QString& message);

// The error box for a message: application title, error icon, one OK button.
std::unique_ptr<QMessageBox> makeErrorBox(const QString& message);

// Shows the error box and waits until the user closes it.
void showErrorBox(const QString& message);

// Replaces what showErrorBox does (tests record the messages instead of
// waiting for a click); returns the previous presenter. An empty function
// restores the message box.
using ErrorPresenter = std::function<void(const QString& title, const QString& text)>;
ErrorPresenter setErrorPresenter(ErrorPresenter presenter);

// Runs a handler; an exception it raises is shown in the error box instead of
// travelling on into the event loop. Returns false when it raised.
bool reportErrors(const std::function<void()>& handler);

// The text of the exception being handled (call inside a catch block).
QString currentExceptionText();
