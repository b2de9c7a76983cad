#pragma once

#include <QString>

// Hands a document to the desktop's viewer for its type (the shell's "open").
class DocumentOpener {
public:
    virtual ~DocumentOpener() = default;
    // False when no viewer could be started; what the viewer does with the
    // document is its own affair.
    virtual bool Open(const QString& path) = 0;
};

// Through QDesktopServices (xdg-open and the like).
class DesktopDocumentOpener : public DocumentOpener {
public:
    bool Open(const QString& path) override;
};
