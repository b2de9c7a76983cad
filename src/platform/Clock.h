#pragma once

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

// The program's clock, which decides what is open now. QUORVEL_NOW
// ("2026-12-11T10:30", local time, seconds optional) stops it at that
// moment, for demonstrations and checks; otherwise it is the system's local time.
namespace Clock {

inline constexpr char kVariable[] = "QUORVEL_NOW";

// The moment a QUORVEL_NOW value names; nullopt when it names none.
std::optional<QDateTime> ParseSetting(const QString& value);

// Now, by QUORVEL_NOW when it is set and readable, else the local time. An
// unreadable value is reported once on standard error and ignored.
QDateTime Now();

using Source = std::function<QDateTime()>;

} // namespace Clock
