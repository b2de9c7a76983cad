#pragma once

#include "directory/OrgFacts.h"

#include <QDateTime>
#include <QStringList>

#include <cstddef>
#include <vector>

// The lines the results tree shows below an organisation's contact lines
// when the town has a places file: its kind ("рубрика: Аптеки", not for
// "Прочее"), its hours in Russian ("часы: пн–пт 9:00–18:00") and its state
// at one moment ("открыто до 18:00", "часы работы не указаны"). None
// without the file. The texts of each distinct hours are made once.
class OrgDetails {
public:
    OrgDetails(const OrgFacts& facts, QDateTime now);

    QStringList LinesOf(std::size_t org);

private:
    const OrgFacts* m_facts;
    QDateTime m_now;
    std::vector<char> m_made; // by distinct hours
    std::vector<QString> m_hours, m_state;
};
