#pragma once

#include <QApplication>

// The application object. An exception that escapes an event handler is shown
// in the error box and the event loop goes on, as a desktop program's users expect.
class ReportingApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override;
};
