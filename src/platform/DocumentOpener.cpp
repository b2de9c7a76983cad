#include "platform/DocumentOpener.h"

#include <QDesktopServices>
#include <QUrl>

void DesktopDocumentOpener::Open(const QString& path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
