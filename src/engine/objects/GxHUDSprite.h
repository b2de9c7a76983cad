#pragma once

#include "engine/objects/GxSprite.h"

// A sprite in window pixels over the 3D picture, whatever the camera does: a
// heads-up display. Position x is counted from the view's left edge, y from
// its top edge, both at 96 dots per inch (scaled with the render
// resolution); z is the depth in normalised device units. It is drawn
// without the depth test and without writing depth, so earlier geometry
// never hides it, and a pick never finds it.
class TGxHUDSprite : public TGxSprite {
public:
    explicit TGxHUDSprite(TGxComponent* owner);
    std::string_view ClassName() const override { return "TGxHUDSprite"; }

    // Texture repeats across and up the rectangle.
    int XTiles() const { return m_xTiles; }
    void SetXTiles(int v);
    int YTiles() const { return m_yTiles; }
    void SetYTiles(int v);

    void RenderSelf(TRenderContextInfo& rci, bool renderSelf, bool renderChildren) override;

private:
    void drawRectangle(TRenderContextInfo& rci);

    int m_xTiles = 1;
    int m_yTiles = 1;
};
