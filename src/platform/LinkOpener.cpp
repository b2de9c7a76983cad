#include "platform/LinkOpener.h"

#include <QDesktopServices>

void DesktopLinkOpener::Open(const QUrl& url)
{
    QDesktopServices::openUrl(url);
}
