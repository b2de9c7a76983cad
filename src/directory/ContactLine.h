#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

// What a line of the results tree offers: its text to copy, and for a web or
// e-mail line the address to open. Lines are numbered as an organisation's
// five lines stand in the tree.
namespace ContactLine {

enum Line { Name = 0, Address = 1, Phone = 2, Email = 3, Web = 4 };

// The line's text without its prefix ("тел. ", "e-mail: ", "web: ").
QString CopyText(int line, const QString& text);
// The organisation's lines that hold something, as shown, one per line.
QString AllText(const QStringList& lines);

// "http://" + the text when it has no scheme, if it plausibly is a web
// address (a host name with a dot, http or https only).
std::optional<QUrl> WebAddress(const QString& stored);
// "mailto:" + the text, if it plausibly is one e-mail address.
std::optional<QUrl> MailAddress(const QString& stored);
// What activating the line opens, if anything.
std::optional<QUrl> LinkOf(int line, const QString& text);

} // namespace ContactLine
