#pragma once

#include <QUrl>

// Hands a web address to the desktop's browser or a mailto: address to its
// mail program.
class LinkOpener {
public:
    virtual ~LinkOpener() = default;
    // The outcome is the desktop's affair: nothing is reported.
    virtual void Open(const QUrl& url) = 0;
};

// Through QDesktopServices (xdg-open and the like).
class DesktopLinkOpener : public LinkOpener {
public:
    void Open(const QUrl& url) override;
};
