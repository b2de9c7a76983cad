#pragma once

#include "directory/OrgFacts.h"

#include <QDateTime>
#include <QStringList>

#include <cstddef>

// The lines the results tree shows below an organisation's contact lines
// when the town has a places file: its kind ("рубрика: Аптеки", not for
// "Прочее"), its hours in Russian ("часы: пн–пт 9:00–18:00") and its state
// at `now` ("открыто до 18:00", "часы работы не указаны"). None without the file.
QStringList OrgDetailLines(const OrgFacts& facts, std::size_t org, const QDateTime& now);
