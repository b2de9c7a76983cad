#pragma once

#include "engine/scene/GxFrustum.h"
#include "engine/scene/VectorGeometry.h"

#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

class TGxBaseSceneObject;
class TGxScene;

// Where the objects of a scene's object tree lie on the ground, so that a
// pick finds the few whose bounds can meet its region without visiting the
// others. Objects are kept in a stack of uniform grids over X and Y, each
// twice as coarse as the one below, every object in the finest grid whose
// cells are at least as large as its box; objects that cannot tell where
// they draw (no geometry bounds, NeverCull, drawn relative to the camera)
// are listed apart and always visited.
//
// The index fills itself from the tree at its first query and is kept up to
// date from then on: objects join and leave with the scene, and an object
// whose place or geometry changed is only marked, its box taken again at
// the next query.
class TGxPickIndex {
public:
    explicit TGxPickIndex(TGxScene& scene) : m_scene(scene) {}
    TGxPickIndex(const TGxPickIndex&) = delete;
    TGxPickIndex& operator=(const TGxPickIndex&) = delete;

    // Notifications from the objects of the scene; nothing is done before
    // the first query.
    void Joined(TGxBaseSceneObject* object);
    void Left(TGxBaseSceneObject* object);
    // The object's world box may be another now.
    void Moved(TGxBaseSceneObject* object);
    // The object and everything below it.
    void SubtreeMoved(TGxBaseSceneObject* object);

    // Every object of the object tree that may draw inside the volume whose
    // corners are those of the clip cube under `modelViewProjection`: the
    // objects whose box meets its part between the lowest and highest box,
    // in no particular order, and those listed apart. False when the volume
    // cannot be worked out (the caller then visits the whole tree).
    bool Query(const TGxMatrix& modelViewProjection, std::vector<TGxBaseSceneObject*>& objects);

    // What the index holds (refreshed first): objects in the grids, objects
    // always visited.
    std::size_t GriddedCount();
    std::size_t AlwaysCount();

private:
    enum class Place : std::uint8_t { Free, Outside, Always, Gridded };
    struct Entry {
        TGxBaseSceneObject* object = nullptr;
        TGxAABB box;
        Place place = Place::Free;
        bool queued = false;
        std::uint8_t level = 0;
        std::int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0; // cells at that level, inclusive
        std::uint32_t alwaysAt = 0;                  // position in the always list
        std::uint32_t stamp = 0;                     // the last query that took it
    };

    void build();
    void refresh();
    std::uint32_t newEntry(TGxBaseSceneObject* object);
    void unlink(std::uint32_t id);
    void place(std::uint32_t id);
    static std::uint64_t cellKey(int level, std::int32_t x, std::int32_t y);
    float cellSize(int level) const;

    TGxScene& m_scene;
    bool m_live = false;
    std::vector<Entry> m_entries;
    std::vector<std::uint32_t> m_freeIds;
    std::vector<std::uint32_t> m_queue;
    std::vector<std::uint32_t> m_always;
    std::unordered_map<std::uint64_t, std::vector<std::uint32_t>> m_cells;
    std::vector<std::uint32_t> m_levelCounts;
    // The heights every gridded box lies between (only ever widened).
    float m_lowest = 0.0f;
    float m_highest = 0.0f;
    bool m_anyGridded = false;
    std::uint32_t m_stamp = 0;
};

// The objects one pick pass visits: the index's candidates with every
// ancestor, per parent in child order, so that the pass draws them in the
// same order as a pass over the whole tree would.
class TGxPickVisit {
public:
    // `root`: the object the pass starts from; candidates below another root are dropped.
    void Build(const std::vector<TGxBaseSceneObject*>& candidates, const TGxBaseSceneObject* root);
    // The children of `parent` to visit, in child order.
    std::span<TGxBaseSceneObject* const> ChildrenOf(const TGxBaseSceneObject* parent) const;
    std::size_t Count() const { return m_children.size(); }

private:
    struct Link {
        const TGxBaseSceneObject* parent;
        int index;
        TGxBaseSceneObject* child;
    };
    std::vector<const TGxBaseSceneObject*> m_parents; // sorted, one per visited child
    std::vector<TGxBaseSceneObject*> m_children;      // in the same order
};
