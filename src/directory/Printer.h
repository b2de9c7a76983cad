#pragma once

#include <QString>

#include <stdexcept>
#include <string>

class QPainter;
class QTextDocument;

// A print job that cannot start or finish; the text is what the user reads.
class EPrinter : public std::runtime_error {
public:
    explicit EPrinter(const QString& message) : std::runtime_error(message.toStdString()) {}
};

// The printer as printing uses it: a job with a canvas whose origin is the
// top-left corner of the printable area, and the paginated print of a
// document that a rich-text control offers.
class Printer {
public:
    virtual ~Printer() = default;

    // Starts a job; throws EPrinter when it cannot.
    virtual void BeginDoc(const QString& title) = 0;
    // The printable area in printer pixels, during a job.
    virtual int PageWidth() const = 0;
    virtual int PageHeight() const = 0;
    virtual QPainter& Canvas() = 0;
    virtual void EndDoc() = 0;

    // Prints the whole document as a job of its own; throws EPrinter when it cannot.
    virtual void PrintDocument(QTextDocument& document, const QString& title) = 0;
};
