#include "ImporterTarget.h"

#include "ReaderTargets.h"

#include "ExtractEncodings.h"
#include "OsmExtract.h"
#include "TownImporter.h"

#include "base/GxException.h"
#include "data/OrgDirectoryWriter.h"
#include "data/OrgPlacesReader.h"

#include <sstream>
#include <stdexcept>

namespace fuzz {

namespace {
std::string text(const ByteWriter& out)
{
    return std::string(out.data().begin(), out.data().end());
}

// A finding that is no crash: escapes every target's guard.
[[noreturn]] void refusedOwnTown(const std::string& file, const std::string& error)
{
    throw std::logic_error("the program refuses the imported " + file + ": " + error);
}
} // namespace

Result runOsmImport(std::string_view input)
{
    ImportedTown town;
    try {
        town = importTown(input);
    } catch (const ImportError& e) {
        return {false, e.what()};
    }
    const Result model = runTown(bundleFiles({{"data.mod", text(writeTownModel(town.model))},
                                              {"data.modt", text(writeMaterialLibrary(2, town.materials))},
                                              {"fl.dat", ""}}));
    if (!model.loaded)
        refusedOwnTown("town", model.error);
    const Result directory = runDirectory(text(writeOrgDirectory(town.organisations)));
    if (!directory.loaded)
        refusedOwnTown("directory", directory.error);
    // Every organisation has its entry, and every house it names is one of the town's.
    const Result places = runOrgPlaces(text(writeOrgPlaces(town.places)));
    if (!places.loaded)
        refusedOwnTown("places", places.error);
    try {
        validateOrgPlaces(town.places, town.organisations.size(), town.model.houses.size());
    } catch (const EGxError& e) {
        refusedOwnTown("places", e.what());
    }
    if (town.places.entries.size() != town.organisations.size())
        refusedOwnTown("places", "an organisation without its entry");
    return {true, {}};
}

namespace {
// A small extract in OSM XML, in degrees around 55.8 N 37.6 E (0.0001
// degree is about 11 m north, 6 m east).
class Extract {
public:
    using Tags = std::vector<std::pair<std::string, std::string>>;

    Extract& node(long id, double north, double east, const Tags& tags = {})
    {
        std::ostringstream s;
        s.precision(9);
        s << " <node id=\"" << id << "\" lat=\"" << 55.8 + north * 1e-4 << "\" lon=\"" << 37.6 + east * 1e-4 << "\"";
        m_nodes += s.str();
        if (tags.empty()) {
            m_nodes += "/>\n";
        } else {
            m_nodes += ">\n" + tagLines(tags) + " </node>\n";
        }
        return *this;
    }
    Extract& way(long id, const std::vector<long>& refs, const Tags& tags)
    {
        m_ways += " <way id=\"" + std::to_string(id) + "\">\n";
        for (long r : refs)
            m_ways += "  <nd ref=\"" + std::to_string(r) + "\"/>\n";
        m_ways += tagLines(tags) + " </way>\n";
        return *this;
    }
    // Four corner nodes first..first+3 and the closed way through them.
    Extract& square(long wayId, long first, double north, double east, double size, const Tags& tags)
    {
        node(first, north, east).node(first + 1, north, east + size).node(first + 2, north + size, east + size);
        node(first + 3, north + size, east);
        return way(wayId, {first, first + 1, first + 2, first + 3, first}, tags);
    }
    Extract& relation(long id, const std::vector<std::tuple<const char*, long, const char*>>& members,
                      const Tags& tags)
    {
        m_relations += " <relation id=\"" + std::to_string(id) + "\">\n";
        for (const auto& [type, ref, role] : members)
            m_relations += std::string("  <member type=\"") + type + "\" ref=\"" + std::to_string(ref) + "\" role=\""
                           + role + "\"/>\n";
        m_relations += tagLines(tags) + " </relation>\n";
        return *this;
    }
    std::string xml(const std::string& header = {}) const
    {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<osm version=\"0.6\" generator=\"seed\">\n" + header
               + m_nodes + m_ways + m_relations + "</osm>\n";
    }

private:
    static std::string tagLines(const Tags& tags)
    {
        std::string s;
        for (const auto& [k, v] : tags)
            s += "  <tag k=\"" + k + "\" v=\"" + escaped(v) + "\"/>\n";
        return s;
    }
    static std::string escaped(const std::string& v)
    {
        std::string out;
        for (char c : v)
            out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '"' ? "&quot;" : std::string(1, c);
        return out;
    }
    std::string m_nodes, m_ways, m_relations;
};

// Houses with and without addresses, floors three ways, a multipolygon house
// with a hole, a part, a street relation, organisations as a point and as
// a building, a road, a river and a park.
std::string townXml()
{
    Extract e;
    e.square(1, 1, 0, 0, 2, {{"building", "yes"}, {"addr:street", "улица Ленина"}, {"addr:housenumber", "12к1"},
                             {"building:levels", "5"}});
    e.square(2, 11, 0, 4, 2, {{"building", "apartments"}, {"height", "16.5 m"}});
    e.square(3, 21, 4, 0, 3, {{"building", "retail"}, {"name", "Универсам"}, {"shop", "supermarket"},
                              {"addr:street", "улица Ленина"}, {"addr:housenumber", "14"},
                              {"contact:phone", "+7 495 123-45-67"}, {"website", "https://example.org/"}});
    e.square(4, 31, 4, 0.5, 1, {{"building:part", "yes"}, {"building:levels", "9"}});
    e.node(41, 1, 1, {{"amenity", "pharmacy"}, {"name", "Аптека & Ко"}, {"phone", "8 (495) 765-43-21; 112"},
                      {"email", "info@example.org"}});
    // A house with a courtyard: outer and inner rings of a multipolygon.
    e.square(5, 51, 8, 0, 4, {});
    e.square(6, 61, 9, 1, 1, {});
    e.relation(7, {{"way", 5, "outer"}, {"way", 6, "inner"}},
               {{"type", "multipolygon"}, {"building", "house"}, {"addr:housenumber", "3"}});
    e.relation(8, {{"way", 2, "house"}, {"way", 9, "street"}}, {{"type", "associatedStreet"}, {"name", "Садовая"}});
    e.node(71, -2, -2).node(72, -2, 10).node(73, -1, 14);
    e.way(9, {71, 72, 73}, {{"highway", "residential"}, {"name", "Садовая"}});
    e.node(81, -6, -4).node(82, -5, 16);
    e.way(10, {81, 82}, {{"waterway", "river"}});
    e.square(11, 91, 0, 10, 5, {{"leisure", "park"}, {"name", "Парк"}});
    return e.xml("  <bounds minlat=\"55.7990\" minlon=\"37.5990\" maxlat=\"55.8015\" maxlon=\"37.6020\"/>\n");
}

// One house and nothing else, written in reverse order: relations and ways
// before the nodes they use.
std::string reversedXml()
{
    return "<osm version=\"0.6\">\n"
           " <way id=\"1\"><nd ref=\"1\"/><nd ref=\"2\"/><nd ref=\"3\"/><nd ref=\"1\"/>"
           "<tag k=\"building\" v=\"yes\"/></way>\n"
           " <node id=\"3\" lat=\"55.8002\" lon=\"37.6\"/>\n"
           " <node id=\"2\" lat=\"55.8\" lon=\"37.6003\"/>\n"
           " <node id=\"1\" lat=\"55.8\" lon=\"37.6\"/>\n"
           "</osm>\n";
}

} // namespace

Files osmImportSeeds()
{
    const std::string xml = townXml();
    return {{"town.osm", xml},
            {"town.osm.gz", gzipExtract(xml)},
            {"town.osm.bz2", bzip2Extract(xml)},
            {"town.osm.pbf", pbfExtract(xml)},
            {"reversed.osm", reversedXml()}};
}

} // namespace fuzz
