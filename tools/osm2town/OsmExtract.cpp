#include "OsmExtract.h"

#include "PbfBlobHeaders.h"

#include <osmium/io/any_compression.hpp>
#include <osmium/io/any_input.hpp>
#include <osmium/io/reader.hpp>
#include <osmium/osm/entity_bits.hpp>
#include <osmium/osm/node.hpp>
#include <osmium/osm/relation.hpp>
#include <osmium/osm/way.hpp>

#include <algorithm>
#include <cstring>

std::string_view OsmTags::get(std::string_view key) const
{
    for (const auto& [k, v] : m_items)
        if (k == key)
            return v;
    return {};
}

bool OsmTags::has(std::string_view key) const
{
    for (const auto& item : m_items)
        if (item.first == key)
            return true;
    return false;
}

const OsmNode* OsmExtract::node(std::int64_t id) const
{
    auto it = std::lower_bound(nodes.begin(), nodes.end(), id, [](const OsmNode& n, std::int64_t v) { return n.id < v; });
    return it != nodes.end() && it->id == id ? &*it : nullptr;
}

const OsmWay* OsmExtract::way(std::int64_t id) const
{
    auto it = std::lower_bound(ways.begin(), ways.end(), id, [](const OsmWay& w, std::int64_t v) { return w.id < v; });
    return it != ways.end() && it->id == id ? &*it : nullptr;
}

std::optional<OsmBounds> OsmExtract::extent() const
{
    if (bounds)
        return bounds;
    if (nodes.empty())
        return std::nullopt;
    OsmBounds b{nodes[0].lat, nodes[0].lon, nodes[0].lat, nodes[0].lon};
    for (const OsmNode& n : nodes) {
        b.minLat = std::min(b.minLat, n.lat);
        b.maxLat = std::max(b.maxLat, n.lat);
        b.minLon = std::min(b.minLon, n.lon);
        b.maxLon = std::max(b.maxLon, n.lon);
    }
    return b;
}

namespace {

bool wanted(std::string_view key)
{
    static constexpr std::string_view kKeys[] = {
        "building", "building:part", "building:levels", "height", "highway", "area", "area:highway",
        "waterway", "natural", "water", "landuse", "leisure", "name", "amenity", "shop", "office",
        "craft", "tourism", "healthcare", "phone", "email", "website", "url", "type", "tunnel",
        "location", "width", "covered",
    };
    if (key.starts_with("addr:") || key.starts_with("contact:"))
        return true;
    return std::find(std::begin(kKeys), std::end(kKeys), key) != std::end(kKeys);
}

OsmTags copyTags(const osmium::TagList& list)
{
    OsmTags tags;
    for (const osmium::Tag& t : list)
        if (wanted(t.key()))
            tags.add(t.key(), t.value());
    return tags;
}


} // namespace

std::string sniffOsmFormat(std::string_view bytes)
{
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0x1F && static_cast<unsigned char>(bytes[1]) == 0x8B)
        return "osm.gz";
    if (bytes.starts_with("BZh"))
        return "osm.bz2";
    // A PBF file opens with the length of its first blob header, whose type
    // is "OSMHeader".
    if (bytes.size() >= 16 && bytes.substr(4, 16).find("OSMHeader") != std::string_view::npos)
        return "pbf";
    return "osm";
}

OsmExtract readOsmExtract(std::string_view bytes, const std::function<void(std::size_t)>& progress)
{
    if (bytes.empty())
        throw ImportError("файл пуст");
    OsmExtract out;
    try {
        const std::string format = sniffOsmFormat(bytes);
        if (format == "pbf")
            checkPbfBlobHeaders(bytes);
        const osmium::io::File file(bytes.data(), bytes.size(), format);
        osmium::io::Reader reader(file, osmium::osm_entity_bits::nwr, osmium::io::read_meta::no);
        const osmium::Box box = reader.header().box();
        if (box.valid())
            out.bounds = OsmBounds{box.bottom_left().lat(), box.bottom_left().lon(), box.top_right().lat(),
                                   box.top_right().lon()};
        std::size_t reported = 0;
        while (osmium::memory::Buffer buffer = reader.read()) {
            for (const osmium::OSMObject& object : buffer.select<osmium::OSMObject>()) {
                ++out.objects;
                if (!object.visible())
                    continue;
                switch (object.type()) {
                case osmium::item_type::node: {
                    const auto& n = static_cast<const osmium::Node&>(object);
                    if (!n.location().valid())
                        break;
                    const OsmNode node{n.id(), n.location().lat(), n.location().lon()};
                    out.nodes.push_back(node);
                    OsmTags tags = copyTags(n.tags());
                    if (!tags.empty())
                        out.taggedNodes.push_back({node, std::move(tags)});
                    break;
                }
                case osmium::item_type::way: {
                    const auto& w = static_cast<const osmium::Way&>(object);
                    OsmWay way{w.id(), {}, copyTags(w.tags())};
                    way.refs.reserve(w.nodes().size());
                    for (const osmium::NodeRef& r : w.nodes())
                        way.refs.push_back(r.ref());
                    out.ways.push_back(std::move(way));
                    break;
                }
                case osmium::item_type::relation: {
                    const auto& r = static_cast<const osmium::Relation&>(object);
                    OsmRelation relation{r.id(), {}, copyTags(r.tags())};
                    const std::string_view type = relation.tags.get("type");
                    if (type != "multipolygon" && type != "building" && type != "associatedStreet")
                        break; // no other relation is used
                    for (const osmium::RelationMember& m : r.members())
                        relation.members.push_back({osmium::item_type_to_char(m.type()), m.ref(), m.role()});
                    out.relations.push_back(std::move(relation));
                    break;
                }
                default: break;
                }
            }
            if (progress && out.objects - reported >= 250000) {
                reported = out.objects;
                progress(out.objects);
            }
        }
        reader.close();
    } catch (const std::exception& e) {
        throw ImportError(std::string("выгрузка повреждена или не в формате OpenStreetMap: ") + e.what());
    }
    // A file may hold several versions of an object; the last one read wins.
    auto byId = [](const auto& a, const auto& b) { return a.id < b.id; };
    std::stable_sort(out.nodes.begin(), out.nodes.end(), byId);
    std::stable_sort(out.ways.begin(), out.ways.end(), byId);
    auto keepLast = [](auto& items) {
        std::size_t w = 0;
        for (std::size_t i = 0; i < items.size(); ++i) {
            const std::size_t to = w > 0 && items[w - 1].id == items[i].id ? w - 1 : w++;
            if (to != i)
                items[to] = std::move(items[i]);
        }
        items.resize(w);
    };
    keepLast(out.nodes);
    keepLast(out.ways);
    if (out.objects == 0)
        throw ImportError("в выгрузке нет ни одного объекта");
    return out;
}
