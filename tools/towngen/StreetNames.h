#pragma once

#include "TownRandom.h"

#include <set>
#include <string>

enum class StreetKind { Street, Avenue, Lane, Embankment, Square };

// Hands out distinct street names of the usual Russian forms (UTF-8). When a
// form's names run out, ordinals ("2-я Садовая улица") keep them distinct;
// every name fits the 30-byte street field in Windows-1251.
class StreetNamer {
public:
    explicit StreetNamer(TownRandom random) : m_random(random) {}
    std::string next(StreetKind kind);

private:
    bool take(const std::string& name);
    TownRandom m_random;
    std::set<std::string> m_used;
};
