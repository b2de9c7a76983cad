#include "directory/ContactLine.h"

#include <QRegularExpression>

namespace ContactLine {
namespace {

const QString kPrefixes[] = {QString(), QString(), QStringLiteral("тел. "), QStringLiteral("e-mail: "),
                             QStringLiteral("web: ")};

// Letters of any script (здоровье.рф), digits, inner hyphens; a top-level
// name of two letters or more.
const QString kHost = QStringLiteral(R"((?:[\p{L}\p{N}](?:[\p{L}\p{N}-]*[\p{L}\p{N}])?\.)+\p{L}{2,})");

} // namespace

QString CopyText(int line, const QString& text)
{
    if (line >= 0 && line < int(std::size(kPrefixes)) && text.startsWith(kPrefixes[line]))
        return text.mid(kPrefixes[line].size());
    return text;
}

QString AllText(const QStringList& lines)
{
    QStringList kept;
    for (int i = 0; i < lines.size(); ++i) {
        const QString value = CopyText(i, lines[i]).trimmed();
        // An empty address shows as ", ".
        if (!value.isEmpty() && !(i == Address && value == QStringLiteral(",")))
            kept << lines[i].trimmed();
    }
    return kept.join('\n');
}

std::optional<QUrl> WebAddress(const QString& stored)
{
    static const QRegularExpression web(
        QStringLiteral(R"(^(?:https?://)?%1(?::\d{1,5})?(?:[/?#][^\s]*)?$)").arg(kHost),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    const QString text = stored.trimmed();
    if (!web.match(text).hasMatch())
        return std::nullopt;
    // Only a scheme at the start counts: "://" further on belongs to the
    // path or query ("vk.com/away.php?to=http://a.ru").
    static const QRegularExpression scheme(QStringLiteral(R"(^(?:[a-z][a-z0-9+.\-]*://|mailto:))"),
                                           QRegularExpression::CaseInsensitiveOption);
    const bool hasScheme = scheme.match(text).hasMatch();
    QUrl url(hasScheme ? text : QStringLiteral("http://") + text, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return std::nullopt;
    return url;
}

std::optional<QUrl> MailAddress(const QString& stored)
{
    static const QRegularExpression mail(QStringLiteral(R"(^(?:mailto:)?([A-Za-z0-9._%+-]+@%1)$)").arg(kHost),
                                         QRegularExpression::CaseInsensitiveOption |
                                             QRegularExpression::UseUnicodePropertiesOption);
    const QRegularExpressionMatch match = mail.match(stored.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    QUrl url(QStringLiteral("mailto:") + match.captured(1), QUrl::StrictMode);
    if (!url.isValid())
        return std::nullopt;
    return url;
}

std::optional<QUrl> LinkOf(int line, const QString& text)
{
    if (line == Web)
        return WebAddress(CopyText(line, text));
    if (line == Email)
        return MailAddress(CopyText(line, text));
    return std::nullopt;
}

} // namespace ContactLine
