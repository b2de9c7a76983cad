#pragma once

#include "engine/scene/GxFrustum.h"
#include "engine/scene/GxListHandle.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

class TGxBaseSceneObject;
class TGxMaterial;
struct TRenderContextInfo;

// The static geometry of one parent's children (the object root's houses
// with their walls, roads and areas) held in shared vertex buffers and drawn
// in few calls: consecutive objects with the same material are drawn with
// one call, in exactly the order the traversal would draw them one by one,
// and those whose bounds lie outside the view are skipped.
//
// A child joins the first time a pass meets it, with its whole subtree; its
// geometry is captured as triangles the first time it may be seen, so a
// first frame of a large town tessellates only what is in view. A member changed
// at run time is looked at again alone before the next pass: a recolour
// only changes which of its neighbours it shares a call with; new geometry
// is written over its own range of the buffer (or appended when its size
// changed). While a member is something the batch does not reproduce
// (blended, moved, textured, showing axes, holding other kinds of children),
// its subtree is drawn the ordinary way, still from the buffer.
class TGxGeometryBatch {
public:
    enum Change : std::uint8_t { MaterialChange = 1, GeometryChange = 2, StateChange = 4 };

    TGxGeometryBatch() = default;
    // Members are let go; they draw the ordinary way again.
    ~TGxGeometryBatch();
    TGxGeometryBatch(const TGxGeometryBatch&) = delete;
    TGxGeometryBatch& operator=(const TGxGeometryBatch&) = delete;

    // Before a pass over the parent's children: brings changed members up
    // to date. False when the current context cannot reach the buffers.
    bool BeginPass(TRenderContextInfo& rci);
    // A visible child that is not left for the blended pass, in list
    // order: true when the batch drew it (or skipped it as out of view),
    // false when the caller must render it. What it takes is drawn at the
    // latest by the next Flush.
    bool Take(TGxBaseSceneObject* child, TRenderContextInfo& rci);
    // Draws what was taken and not yet drawn.
    void Flush(TRenderContextInfo& rci);
    // After the pass: the last of the new geometry goes to the buffers.
    void EndPass(TRenderContextInfo& rci);

    // One member's own geometry from the buffer (the pick pass, members
    // drawn the ordinary way); false when it must come from elsewhere.
    bool DrawMember(const TGxBaseSceneObject* member, TRenderContextInfo& rci);

    // Called by members.
    void MemberChanged(std::uint32_t entry, std::uint8_t change);
    void Remove(TGxBaseSceneObject* member);

    struct Statistics {
        std::size_t members = 0;         // objects held
        std::size_t vertices = 0;        // vertices held in the buffers
        std::size_t uploadedVertices = 0; // written to the buffers so far, all told
        int draws = 0;                   // calls of the last pass
        int culled = 0;                  // children skipped as out of view in the last pass
        int drawnOrdinarily = 0;         // members' subtrees the last pass left to the traversal
        std::size_t buffers = 0;         // vertex buffers (blocks) holding them
    };
    // Vertices a block takes before the next one is started; a subtree larger
    // than this gets a block of its own.
    static constexpr std::uint32_t kBlockVertices = 1u << 17;
    const Statistics& Stats() const { return m_stats; }

private:
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

    struct Entry {
        TGxBaseSceneObject* object = nullptr; // null once it left
        std::uint32_t block = 0;
        std::uint32_t first = 0; // vertex in the block
        std::uint32_t count = 0;
        std::uint32_t key = kNone; // material class; kNone: not drawn by the batch
        std::uint32_t top = 0;     // the child of the parent whose subtree holds it
        std::uint32_t end = 0;     // one past the last entry of its own subtree
        std::uint8_t dirty = 0;
        bool plain = false;    // its geometry is in the buffer
        bool textured = false; // its material wants texture coordinates, which the buffer lacks
    };
    struct Top {
        TGxAABB box;             // the subtree's geometry, world coordinates
        std::uint32_t entry = 0; // its own entry
        std::uint32_t key = kNone; // the one material of the whole subtree, if one
        bool captured = false;   // its geometry has been put in the buffers
        bool simple = false;     // the batch may draw the subtree
        bool cullable = false;   // the box tells where all of the subtree is drawn
        bool contiguous = false; // the subtree is one range of one block, all visible
        bool neverCull = false;
        bool dirty = false;
    };
    struct Block {
        TGxListHandle buffer{TGxListHandle::BufferObject};
        std::uint32_t vertices = 0;
        std::uint32_t capacity = 0; // vertices the buffer has room for, once uploaded
        bool uploaded = false;
    };
    struct Run {
        std::uint32_t block = kNone;
        std::uint32_t first = 0;
        std::uint32_t count = 0;
        std::uint32_t key = kNone;
        std::uint32_t firstEntry = 0;
        std::uint32_t lastEntry = 0;
    };
    using MaterialState = std::array<std::uint32_t, 44>;
    struct StateHash {
        std::size_t operator()(const MaterialState& s) const;
    };

    bool adopt(TGxBaseSceneObject* child);
    bool enter(TGxBaseSceneObject* object, std::uint32_t top);
    bool capture(std::uint32_t top);
    std::uint32_t place(const std::vector<float>& vertices, std::size_t from);
    void processTop(std::uint32_t top);
    void refreshEntry(Entry& e);
    bool entrySimple(const Entry& e) const;
    bool structureIntact(const TGxBaseSceneObject* object, std::uint32_t& next) const;
    std::uint32_t materialKey(const TGxMaterial& material);
    void append(std::uint32_t entry, std::uint32_t block, std::uint32_t first, std::uint32_t count,
                std::uint32_t key, TRenderContextInfo& rci);
    void uploadOpenBlock();
    void reset();

    std::vector<Entry> m_entries;
    std::vector<Top> m_tops;
    std::vector<std::uint32_t> m_dirtyTops;
    std::vector<std::unique_ptr<Block>> m_blocks;
    // The last block while it is still being filled; written to its buffer
    // when full or at the end of the pass, then released.
    std::vector<float> m_staging;
    std::unordered_map<MaterialState, std::uint32_t, StateHash> m_keys;
    Run m_run;
    Statistics m_stats;
};
