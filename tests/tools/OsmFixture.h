#pragma once

#include "TownImporter.h"

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

// Small OpenStreetMap XML extracts written inside the tests, placed in
// metres around a centre the import is told to use.
class OsmFixture {
public:
    using Tags = std::vector<std::pair<std::string, std::string>>;
    static constexpr double kLat = 55.8, kLon = 37.6;

    static ImportOptions options()
    {
        ImportOptions o;
        o.centre = {kLat, kLon};
        return o;
    }
    static double latOf(double north) { return kLat + north / kMetresPerDegree; }
    static double lonOf(double east)
    {
        return kLon + east / (kMetresPerDegree * std::cos(kLat * std::numbers::pi / 180));
    }

    OsmFixture& node(std::int64_t id, double east, double north, const Tags& tags = {})
    {
        char buf[160];
        std::snprintf(buf, sizeof buf, " <node id=\"%lld\" lat=\"%.9f\" lon=\"%.9f\"", (long long)id, latOf(north),
                      lonOf(east));
        m_nodes += buf;
        close(m_nodes, tags, "node");
        return *this;
    }
    OsmFixture& way(std::int64_t id, const std::vector<std::int64_t>& refs, const Tags& tags = {})
    {
        m_ways += " <way id=\"" + std::to_string(id) + "\">\n";
        for (std::int64_t r : refs)
            m_ways += "  <nd ref=\"" + std::to_string(r) + "\"/>\n";
        addTags(m_ways, tags);
        m_ways += " </way>\n";
        return *this;
    }
    struct Member {
        char type;
        std::int64_t ref;
        std::string role;
    };
    OsmFixture& relation(std::int64_t id, const std::vector<Member>& members, const Tags& tags)
    {
        m_relations += " <relation id=\"" + std::to_string(id) + "\">\n";
        for (const Member& m : members)
            m_relations += std::string("  <member type=\"") + (m.type == 'n' ? "node" : m.type == 'w' ? "way" : "relation")
                           + "\" ref=\"" + std::to_string(m.ref) + "\" role=\"" + m.role + "\"/>\n";
        addTags(m_relations, tags);
        m_relations += " </relation>\n";
        return *this;
    }
    // A square outline of four nodes (ids first..first+3) and its way.
    OsmFixture& square(std::int64_t wayId, std::int64_t first, double east, double north, double size,
                       const Tags& tags)
    {
        node(first, east, north).node(first + 1, east + size, north).node(first + 2, east + size, north + size);
        node(first + 3, east, north + size);
        return way(wayId, {first, first + 1, first + 2, first + 3, first}, tags);
    }

    // Nodes, then ways, then relations; or the other way round.
    std::string xml(bool reversed = false) const
    {
        std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<osm version=\"0.6\" generator=\"test\">\n";
        s += reversed ? m_relations + m_ways + m_nodes : m_nodes + m_ways + m_relations;
        return s + "</osm>\n";
    }

private:
    static constexpr double kMetresPerDegree = 6371008.8 * std::numbers::pi / 180;
    static std::string escape(const std::string& v)
    {
        std::string out;
        for (char c : v) {
            if (c == '"')
                out += "&quot;";
            else if (c == '&')
                out += "&amp;";
            else if (c == '<')
                out += "&lt;";
            else
                out += c;
        }
        return out;
    }
    static void addTags(std::string& s, const Tags& tags)
    {
        for (const auto& [k, v] : tags)
            s += "  <tag k=\"" + escape(k) + "\" v=\"" + escape(v) + "\"/>\n";
    }
    static void close(std::string& s, const Tags& tags, const char* element)
    {
        if (tags.empty()) {
            s += "/>\n";
            return;
        }
        s += ">\n";
        addTags(s, tags);
        s += std::string(" </") + element + ">\n";
    }
    std::string m_nodes, m_ways, m_relations;
};
