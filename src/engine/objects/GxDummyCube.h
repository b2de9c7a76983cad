#pragma once

#include "engine/materials/GxColor.h"
#include "engine/scene/GxCameraInvariantObject.h"

#include <functional>
#include <memory>

class TGxListHandle;

// An invisible anchor that groups and moves other objects. Its own edges
// are drawn only with VisibleAtRunTime; its children always are.
class TGxDummyCube : public TGxCameraInvariantObject {
public:
    explicit TGxDummyCube(TGxComponent* owner);
    ~TGxDummyCube() override;
    std::string_view ClassName() const override { return "TGxDummyCube"; }

    float CubeSize() const { return m_cubeSize; }
    void SetCubeSize(float v);
    TGxColor& EdgeColor() { return m_edgeColor; }
    const TGxColor& EdgeColor() const { return m_edgeColor; }
    void SetEdgeColor(const TGxColor& c) { m_edgeColor.Assign(c); }
    bool VisibleAtRunTime() const { return m_visibleAtRunTime; }
    void SetVisibleAtRunTime(bool v);
    // Records the drawing of the whole subtree into one list on first use and
    // replays it; only a geometry change of the cube itself records it again.
    bool Amalgamate() const { return m_amalgamate; }
    void SetAmalgamate(bool v);
    // When set and it answers false, the cube and its children are skipped.
    std::function<bool(TGxDummyCube* sender, TRenderContextInfo& rci)> OnVisibilityDetermination;

    void Assign(const TGxDummyCube& source);

    TGxVector HalfExtentsUnscaled() const override;
    // An anchor is never hit.
    bool RayHit(const TGxVector&, const TGxVector&, TGxVector* = nullptr, TGxVector* = nullptr) const override
    {
        return false;
    }

    // Asks OnVisibilityDetermination first; replays the amalgamated subtree.
    void RenderSelf(TRenderContextInfo& rci, bool renderSelf, bool renderChildren) override;
    void DestroyHandle() override;
    void EmitGeometry(TRenderContextInfo& rci) override;
    // Dotted edges in EdgeColor, lighting off, the caller's state kept.
    void DrawEdges() const;

private:
    float m_cubeSize = 1;
    TGxColor m_edgeColor;
    bool m_visibleAtRunTime = false;
    bool m_amalgamate = false;
    std::unique_ptr<TGxListHandle> m_amalgamated;
};
