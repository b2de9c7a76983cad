#include "directory/OrgDetails.h"

#include "data/OrgKinds.h"

QStringList OrgDetailLines(const OrgFacts& facts, std::size_t org, const QDateTime& now)
{
    QStringList lines;
    if (!facts.Loaded())
        return lines;
    const int kind = facts.KindOf(org);
    if (kind != kOtherKind)
        lines << QStringLiteral("рубрика: ") + QString::fromUtf8(orgKindById(kind)->name);
    const OpeningHours& hours = facts.HoursOf(org);
    const QString written = hours.toRussian();
    if (!written.isEmpty())
        lines << QStringLiteral("часы: ") + written;
    lines << hours.stateAt(now).text;
    return lines;
}
