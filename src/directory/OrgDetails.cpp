#include "directory/OrgDetails.h"

#include "data/OrgKinds.h"

OrgDetails::OrgDetails(const OrgFacts& facts, QDateTime now)
    : m_facts(&facts), m_now(std::move(now)), m_made(facts.DistinctHours(), 0), m_hours(m_made.size()),
      m_state(m_made.size())
{
}

QStringList OrgDetails::LinesOf(std::size_t org)
{
    QStringList lines;
    if (!m_facts->Loaded())
        return lines;
    const int kind = m_facts->KindOf(org);
    if (kind != kOtherKind)
        lines << QStringLiteral("рубрика: ") + QString::fromUtf8(orgKindById(kind)->name);
    const std::size_t h = m_facts->HoursIndexOf(org);
    if (!m_made[h]) {
        m_made[h] = 1;
        const OpeningHours& hours = m_facts->Hours(h);
        const QString written = hours.toRussian();
        m_hours[h] = written.isEmpty() ? QString() : QStringLiteral("часы: ") + written;
        m_state[h] = hours.stateAt(m_now).text;
    }
    if (!m_hours[h].isEmpty())
        lines << m_hours[h];
    lines << m_state[h];
    return lines;
}
