#include "platform/ReportingApplication.h"

#include "platform/ErrorBox.h"

bool ReportingApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        showErrorBox(currentExceptionText());
        return false;
    }
}
