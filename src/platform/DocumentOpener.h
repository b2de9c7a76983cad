#pragma once

#include <QString>

// Hands a document to the desktop's viewer for its type (the shell's "open").
class DocumentOpener {
public:
    virtual ~DocumentOpener() = default;
    // The outcome is the viewer's affair: nothing is reported.
    virtual void Open(const QString& path) = 0;
};

// Through QDesktopServices (xdg-open and the like).
class DesktopDocumentOpener : public DocumentOpener {
public:
    void Open(const QString& path) override;
};
