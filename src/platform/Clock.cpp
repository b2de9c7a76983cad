#include "platform/Clock.h"

#include <cstdio>

namespace Clock {

std::optional<QDateTime> ParseSetting(const QString& value)
{
    const QString text = value.trimmed();
    for (const char* format : {"yyyy-MM-ddTHH:mm", "yyyy-MM-ddTHH:mm:ss", "yyyy-MM-dd HH:mm", "yyyy-MM-dd HH:mm:ss"}) {
        // Read as local time, as the hours are written.
        const QDateTime at = QDateTime::fromString(text, QString::fromLatin1(format));
        if (at.isValid())
            return at;
    }
    return std::nullopt;
}

QDateTime Now()
{
    const QString setting = qEnvironmentVariable(kVariable);
    if (!setting.isEmpty()) {
        if (const std::optional<QDateTime> at = ParseSetting(setting))
            return *at;
        static bool reported = false;
        if (!reported) {
            reported = true;
            std::fprintf(stderr, "%s=%s is not a date and time like 2026-12-11T10:30; the local time is used\n",
                         kVariable, qPrintable(setting));
        }
    }
    return QDateTime::currentDateTime();
}

} // namespace Clock
