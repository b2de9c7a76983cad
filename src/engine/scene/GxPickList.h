#pragma once

#include <cstdint>
#include <vector>

class TGxBaseSceneObject;

// How a pick list orders its hits.
enum TPickSortMode {
    psDefault,  // as found
    psName,     // by the picked object's name, ignoring letter case
    psMinDepth, // nearest first
    psMaxDepth  // by the far depth
};

using TPickSubObjects = std::vector<std::uint32_t>;

// One hit of a selection-mode pass.
struct TPickRecord {
    TGxBaseSceneObject* PickedObject = nullptr;
    TPickSubObjects SubNames; // the further names of the hit, in order
    float NearDepth = 0.0f;   // window depth 0..1 of the nearest primitive in the region
    float FarDepth = 0.0f;
};

// The hits of one pick, kept in the order of the mode fixed at creation.
// Hits with equal keys stay in the order they were added.
class TGxPickList {
public:
    explicit TGxPickList(TPickSortMode sortMode = psDefault) : m_sortMode(sortMode) {}

    TPickSortMode SortMode() const { return m_sortMode; }
    void AddHit(TGxBaseSceneObject* object, TPickSubObjects subNames, float nearDepth, float farDepth);
    int Count() const { return int(m_records.size()); }
    TGxBaseSceneObject* Hit(int i) const { return m_records.at(std::size_t(i)).PickedObject; }
    const TPickRecord& Record(int i) const { return m_records.at(std::size_t(i)); }
    void Clear() { m_records.clear(); }
    void Reserve(int n) { m_records.reserve(n > 0 ? std::size_t(n) : 0); }

private:
    bool before(const TPickRecord& a, const TPickRecord& b) const;

    TPickSortMode m_sortMode;
    std::vector<TPickRecord> m_records;
};
