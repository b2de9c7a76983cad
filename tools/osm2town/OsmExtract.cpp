#include "OsmExtract.h"

#include "PbfBlobHeaders.h"

#include <osmium/area/assembler.hpp>
#include <osmium/area/multipolygon_manager.hpp>
#include <osmium/builder/osm_object_builder.hpp>
#include <osmium/handler/node_locations_for_ways.hpp>
#include <osmium/index/map/flex_mem.hpp>
#include <osmium/io/any_compression.hpp>
#include <osmium/io/any_input.hpp>
#include <osmium/io/reader.hpp>
#include <osmium/osm/area.hpp>
#include <osmium/osm/entity_bits.hpp>
#include <osmium/osm/node.hpp>
#include <osmium/osm/relation.hpp>
#include <osmium/osm/way.hpp>
#include <osmium/tags/tags_filter.hpp>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <tuple>

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

namespace {

// The tags the importer reads; all others are not kept. Looked up by
// length first: every tag of every object passes here. The kinds table's
// rules use the organisation keys among them.
bool keptKey(std::string_view key)
{
    static constexpr std::string_view kKeys[] = {
        "building", "building:part", "building:levels", "height", "highway", "area", "area:highway",
        "waterway", "natural", "water", "landuse", "leisure", "name", "amenity", "shop", "office",
        "craft", "tourism", "healthcare", "phone", "email", "website", "url", "type", "tunnel",
        "location", "width", "covered", "place", "opening_hours",
    };
    if (key.starts_with("addr:") || key.starts_with("contact:"))
        return true;
    return std::find(std::begin(kKeys), std::end(kKeys), key) != std::end(kKeys);
}

// Closed ways and multipolygons that may be a building, a part, a directory
// entry, a flat area or a place: the others are not assembled.
osmium::TagsFilter areaTags()
{
    osmium::TagsFilter f{false};
    for (const char* key : {"building", "building:part", "area:highway", "leisure", "amenity", "shop", "office",
                            "craft", "tourism", "healthcare", "place"})
        f.add_rule(true, osmium::TagMatcher{key});
    f.add_rule(true, osmium::TagMatcher{"area", "yes"});
    f.add_rule(true, osmium::TagMatcher{"natural", osmium::StringMatcher::list{{"water", "wood", "grassland", "heath",
                                                                                 "scrub"}}});
    f.add_rule(true, osmium::TagMatcher{"waterway", osmium::StringMatcher::list{{"riverbank", "dock"}}});
    f.add_rule(true, osmium::TagMatcher{"landuse", osmium::StringMatcher::list{{
                         "reservoir", "basin", "forest", "grass", "meadow", "village_green", "recreation_ground",
                         "cemetery", "allotments", "orchard", "flowerbed", "plant_nursery", "greenfield"}}});
    return f;
}

OsmTags copyTags(const osmium::TagList& list)
{
    OsmTags tags;
    for (const osmium::Tag& t : list)
        if (keptKey(t.key()))
            tags.add(t.key(), t.value());
    return tags;
}

OsmPoint pointOf(const osmium::Location& l) { return {l.lat(), l.lon()}; }

OsmRing ringOf(const osmium::NodeRefList& ring)
{
    OsmRing out;
    out.reserve(ring.size());
    for (const osmium::NodeRef& n : ring)
        out.push_back(pointOf(n.location()));
    return out;
}

OsmArea areaOf(const osmium::Area& area)
{
    OsmArea out;
    out.type = area.from_way() ? 'w' : 'r';
    out.id = area.orig_id();
    out.tags = copyTags(area.tags());
    for (const osmium::OuterRing& outer : area.outer_rings()) {
        OsmPolygon polygon{ringOf(outer), {}};
        for (const osmium::InnerRing& inner : area.inner_rings(outer))
            polygon.inners.push_back(ringOf(inner));
        out.polygons.push_back(std::move(polygon));
    }
    return out;
}

void addKnown(std::vector<OsmPoint>& known, const osmium::WayNodeList& nodes)
{
    for (const osmium::NodeRef& n : nodes)
        if (n.location().valid())
            known.push_back(pointOf(n.location()));
}

// Ordered as libosmium's relation manager expects: by type, then by id
// (negative ids, which editors give new objects, first).
bool typeIdLess(const osmium::OSMObject* a, const osmium::OSMObject* b)
{
    return std::make_tuple(a->type(), a->id() > 0, a->positive_id())
           < std::make_tuple(b->type(), b->id() > 0, b->positive_id());
}

bool sameObject(const osmium::OSMObject* a, const osmium::OSMObject* b)
{
    return a->type() == b->type() && a->id() == b->id();
}

using LocationIndex = osmium::index::map::FlexMem<osmium::unsigned_object_id_type, osmium::Location>;
using AreaManager = osmium::area::MultipolygonManager<osmium::area::Assembler>;

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
    // Nodes are placed as they are read; the buffers holding ways and
    // relations are kept for the two passes that need them all.
    LocationIndex positive, negative;
    osmium::handler::NodeLocationsForWays<LocationIndex, LocationIndex> locations{positive, negative};
    locations.ignore_errors(); // a node missing from the extract is a gap, counted where it matters
    std::vector<osmium::object_id_type> nodeIds;
    std::vector<osmium::memory::Buffer> kept;
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
            bool keep = false;
            for (const osmium::OSMObject& object : buffer.select<osmium::OSMObject>()) {
                ++out.objects;
                if (!object.visible())
                    continue;
                if (object.type() != osmium::item_type::node) {
                    keep = true;
                    continue;
                }
                const auto& n = static_cast<const osmium::Node&>(object);
                if (!n.location().valid())
                    continue;
                locations.node(n);
                nodeIds.push_back(n.id());
                const OsmNode node{n.id(), n.location().lat(), n.location().lon()};
                if (!out.nodeBounds)
                    out.nodeBounds = OsmBounds{node.lat, node.lon, node.lat, node.lon};
                OsmBounds& b = *out.nodeBounds;
                b.minLat = std::min(b.minLat, node.lat);
                b.maxLat = std::max(b.maxLat, node.lat);
                b.minLon = std::min(b.minLon, node.lon);
                b.maxLon = std::max(b.maxLon, node.lon);
                OsmTags tags = copyTags(n.tags());
                if (!tags.empty())
                    out.taggedNodes.push_back({node, std::move(tags)});
            }
            if (keep)
                kept.push_back(std::move(buffer));
            if (progress && out.objects - reported >= 250000) {
                reported = out.objects;
                progress(out.objects);
            }
        }
        reader.close();
    } catch (const std::exception& e) {
        throw ImportError(std::string("выгрузка повреждена или не в формате OpenStreetMap: ") + e.what());
    }
    if (out.objects == 0)
        throw ImportError("в выгрузке нет ни одного объекта");

    // Of an object read twice the last one read is kept: a file may hold
    // several versions of it, and joined extracts hold the objects of their
    // overlap twice. (The location index keeps one place of each node.)
    auto keepLast = [](auto& items, auto same) {
        std::size_t w = 0;
        for (std::size_t i = 0; i < items.size(); ++i) {
            const std::size_t to = w > 0 && same(items[w - 1], items[i]) ? w - 1 : w++;
            if (to != i)
                items[to] = std::move(items[i]);
        }
        const std::size_t dropped = items.size() - w;
        items.resize(w);
        return dropped;
    };
    if (!std::is_sorted(nodeIds.begin(), nodeIds.end()))
        std::sort(nodeIds.begin(), nodeIds.end());
    out.duplicates += std::size_t(nodeIds.end() - std::unique(nodeIds.begin(), nodeIds.end()));
    std::vector<osmium::object_id_type>().swap(nodeIds);
    auto nodeLess = [](const OsmTaggedNode& a, const OsmTaggedNode& b) { return a.node.id < b.node.id; };
    if (!std::is_sorted(out.taggedNodes.begin(), out.taggedNodes.end(), nodeLess))
        std::stable_sort(out.taggedNodes.begin(), out.taggedNodes.end(), nodeLess);
    keepLast(out.taggedNodes, [](const OsmTaggedNode& a, const OsmTaggedNode& b) { return a.node.id == b.node.id; });

    // Ways, then relations, each by id.
    std::vector<osmium::OSMObject*> objects;
    for (osmium::memory::Buffer& buffer : kept)
        for (osmium::OSMObject& object : buffer.select<osmium::OSMObject>())
            if (object.type() != osmium::item_type::node && object.visible())
                objects.push_back(&object);
    if (!std::is_sorted(objects.begin(), objects.end(), typeIdLess))
        std::stable_sort(objects.begin(), objects.end(), typeIdLess);
    out.duplicates += keepLast(objects, sameObject);
    auto find = [&objects](osmium::item_type type, osmium::object_id_type id) -> osmium::OSMObject* {
        const auto it = std::lower_bound(objects.begin(), objects.end(), std::make_tuple(type, id > 0, std::abs(id)),
                                         [](const osmium::OSMObject* o, const auto& key) {
                                             return std::make_tuple(o->type(), o->id() > 0, o->positive_id())
                                                    < std::make_tuple(std::get<0>(key), std::get<1>(key),
                                                                      osmium::unsigned_object_id_type(std::get<2>(key)));
                                         });
        return it != objects.end() && (*it)->type() == type && (*it)->id() == id ? *it : nullptr;
    };

    const osmium::TagsFilter areaFilter = areaTags();
    osmium::area::Assembler::config_type config;
    AreaManager manager{config, areaFilter};
    // Each object gives at most one area: the manager's, or a broken one of ours.
    std::vector<OsmArea>& areas = out.areas;
    auto takeAreas = [&](osmium::memory::Buffer&& buffer) {
        for (const osmium::Area& area : buffer.select<osmium::Area>())
            areas.push_back(areaOf(area));
    };

    // First pass: the multipolygons whose members are wanted.
    std::vector<const osmium::Relation*> multipolygons;
    for (const osmium::OSMObject* object : objects) {
        if (object->type() != osmium::item_type::relation)
            continue;
        const auto& r = static_cast<const osmium::Relation&>(*object);
        if (manager.new_relation(r))
            multipolygons.push_back(&r);
        manager.relation(r);
        if (r.tags().has_tag("type", "associatedStreet")) {
            OsmRelation relation{r.id(), {}, copyTags(r.tags())};
            for (const osmium::RelationMember& m : r.members())
                relation.members.push_back({osmium::item_type_to_char(m.type()), m.ref(), m.role()});
            out.relations.push_back(std::move(relation));
        }
    }
    manager.prepare_for_lookup();
    manager.set_callback(takeAreas);

    // Second pass: ways given their nodes' places and assembled into areas.
    try {
        for (osmium::OSMObject* object : objects) {
            if (object->type() == osmium::item_type::way) {
                auto& w = static_cast<osmium::Way&>(*object);
                locations.way(w);
                const osmium::WayNodeList& nodes = w.nodes();
                if (w.tags().has_key("highway") || w.tags().has_key("waterway")) {
                    OsmWay way{w.id(), {}, {}, copyTags(w.tags())};
                    way.refs.reserve(nodes.size());
                    way.points.reserve(nodes.size());
                    for (const osmium::NodeRef& r : nodes) {
                        way.refs.push_back(r.ref());
                        way.points.push_back(r.location().valid() ? std::optional(pointOf(r.location())) : std::nullopt);
                    }
                    out.ways.push_back(std::move(way));
                }
                // The assembler passes over a closed way with a node missing: kept here as broken.
                if (nodes.size() > 3 && nodes.ends_have_same_id()
                    && std::any_of(nodes.begin(), nodes.end(), [](const osmium::NodeRef& r) { return !r.location().valid(); })
                    && !w.tags().has_tag("area", "no") && osmium::tags::match_any_of(w.tags(), areaFilter)) {
                    OsmArea a{'w', w.id(), copyTags(w.tags()), {}, true, {}};
                    addKnown(a.known, nodes);
                    areas.push_back(std::move(a));
                }
                manager.handle_way(w);
            }
        }
        manager.flush_output();
        takeAreas(manager.read());

        // Multipolygons with members missing from the extract: what their members present make.
        osmium::memory::Buffer scratch{1024, osmium::memory::Buffer::auto_grow::yes};
        osmium::memory::Buffer made{1024, osmium::memory::Buffer::auto_grow::yes};
        manager.for_each_incomplete_relation([&](const osmium::relations::RelationHandle& handle) {
            const osmium::Relation& r = *handle;
            std::vector<const osmium::Way*> ways;
            scratch.clear();
            {
                osmium::builder::RelationBuilder builder{scratch};
                builder.set_id(r.id());
                builder.add_item(r.tags());
                osmium::builder::RelationMemberListBuilder members{builder};
                for (const osmium::RelationMember& m : r.members())
                    if (m.type() == osmium::item_type::way && m.ref() != 0)
                        if (const osmium::Way* way = manager.get_member_way(m.ref())) {
                            members.add_member(m.type(), m.ref(), m.role());
                            ways.push_back(way);
                        }
            }
            scratch.commit();
            made.clear();
            const auto& partial = scratch.get<osmium::Relation>(0);
            if (!ways.empty()) {
                osmium::area::Assembler assembler{config};
                assembler(partial, ways, made);
            }
            OsmArea a{'r', r.id(), copyTags(r.tags()), {}, true, {}};
            for (const osmium::Area& area : made.select<osmium::Area>())
                a.polygons = areaOf(area).polygons;
            areas.push_back(std::move(a));
        });
    } catch (const std::exception& e) {
        throw ImportError(std::string("выгрузка повреждена: ") + e.what());
    }

    // Ways first, then relations, each by id.
    auto areaKey = [](const OsmArea& a) { return std::make_tuple(a.type == 'r', a.id > 0, std::abs(a.id)); };
    std::sort(areas.begin(), areas.end(), [&](const OsmArea& a, const OsmArea& b) { return areaKey(a) < areaKey(b); });

    // Closed ways the assembler refused (their outline crosses itself) are
    // drawn as mapped; multipolygons it could make nothing of are broken.
    for (OsmArea& area : areas) {
        if (area.type != 'w' || !area.polygons.empty() || area.broken)
            continue;
        if (const osmium::OSMObject* o = find(osmium::item_type::way, area.id)) {
            const auto& w = static_cast<const osmium::Way&>(*o);
            OsmRing ring;
            for (const osmium::NodeRef& r : w.nodes())
                ring.push_back(pointOf(r.location()));
            area.polygons.push_back({std::move(ring), {}});
            ++out.unassembledWays;
        }
    }
    const std::size_t assembled = areas.size();
    for (const osmium::Relation* r : multipolygons) {
        OsmArea probe{'r', r->id(), {}, {}, false, {}};
        const auto found = std::lower_bound(areas.begin(), areas.begin() + std::ptrdiff_t(assembled), probe,
                                            [&](const OsmArea& a, const OsmArea& b) { return areaKey(a) < areaKey(b); });
        OsmArea* area = nullptr;
        if (found != areas.begin() + std::ptrdiff_t(assembled) && found->type == 'r' && found->id == r->id()) {
            area = &*found;
        } else {
            areas.push_back(OsmArea{'r', r->id(), copyTags(r->tags()), {}, true, {}});
            area = &areas.back();
        }
        if (area->polygons.empty())
            area->broken = true;
        if (!area->broken)
            continue;
        ++out.brokenRelations;
        for (const osmium::RelationMember& m : r->members())
            if (m.type() == osmium::item_type::way)
                if (const osmium::OSMObject* o = find(osmium::item_type::way, m.ref()))
                    addKnown(area->known, static_cast<const osmium::Way&>(*o).nodes());
    }
    // Relations that made no area at all, by id among the others.
    std::sort(areas.begin() + std::ptrdiff_t(assembled), areas.end(), [&](const OsmArea& a, const OsmArea& b) { return areaKey(a) < areaKey(b); });
    std::inplace_merge(areas.begin(), areas.begin() + std::ptrdiff_t(assembled), areas.end(),
                       [&](const OsmArea& a, const OsmArea& b) { return areaKey(a) < areaKey(b); });
    return out;
}
