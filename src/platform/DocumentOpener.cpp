#include "platform/DocumentOpener.h"

#include <QDesktopServices>
#include <QUrl>

bool DesktopDocumentOpener::Open(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
