#pragma once

#include "engine/scene/GxBaseSceneObject.h"
#include "map/LabelAtlas.h"
#include "map/LabelLayout.h"

#include <QRect>
#include <QSize>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QOpenGLContextGroup;
class TGxScene;
struct MapState;

// The street names and house numbers written on the map: a scene object
// after the town's objects, drawn every frame over what is drawn before it
// (the ground, roads and houses) and under the floating address label. Each
// text is made into a picture once (dark letters on a light halo) and kept
// as a texture; the layout of each frame decides which are drawn where.
// The pictures share one texture (LabelAtlas), and a frame's labels are
// drawn in one batch. MapState's ShowStreetNames and ShowHouseNumbers switch them; a pick never
// finds them.
class TMapLabels : public TGxBaseSceneObject {
public:
    // Which parts of the view (pixels at 96 dots per inch from its top
    // left corner, for a view of the given size) labels keep clear of.
    using ReservedAreas = std::function<std::vector<QRect>(QSize view)>;

    TMapLabels(TGxComponent* owner, const MapState& state);
    ~TMapLabels() override;
    std::string_view ClassName() const override { return "TMapLabels"; }

    // The streets and houses of the town now under the scene's object root:
    // named road pieces and the houses' addresses. `extraRoads` (a road
    // network's named centre lines, when there is one) take the place of
    // what the town says of the same streets.
    void Prepare(const TGxScene& scene, std::vector<labels::StreetLine> extraRoads = {});
    void SetReservedAreas(ReservedAreas areas) { m_reserved = std::move(areas); }

    // What the last frame placed (tests, and what printing shows).
    const std::vector<labels::PlacedLabel>& LastPlaced() const { return m_lastPlaced; }
    const labels::LabelLayout* Layout() const { return m_layout.get(); }

    // Width over height of a text's picture (needs the QGuiApplication).
    static float TextAspect(labels::LabelKind kind, const std::string& text);

    void RenderSelf(TRenderContextInfo& rci, bool renderSelf, bool renderChildren) override;

private:
    labels::LabelView viewOf(const TRenderContextInfo& rci) const;
    // The atlas of the current context's group, made afresh for a new group.
    LabelAtlas& atlas();
    void draw();

    const MapState& m_state;
    std::unique_ptr<labels::LabelLayout> m_layout;
    ReservedAreas m_reserved;
    std::vector<labels::PlacedLabel> m_lastPlaced;
    std::unique_ptr<LabelAtlas> m_atlas;
    QOpenGLContextGroup* m_atlasGroup = nullptr;
};
