#pragma once

#include "engine/scene/GxCustomSceneObject.h"
#include "engine/scene/GxFlagSet.h"

#include <cstdint>

enum class TPlaneStyle { psSingleQuad, psTileTexture };
using TPlaneStyles = TGxFlagSet<TPlaneStyle>;

// A textured rectangle in its local plane z = 0, facing +Z, centred on the
// origin (the town's ground areas). Drawn directly every frame.
class TGxPlane : public TGxSceneObject {
public:
    explicit TGxPlane(TGxComponent* owner);
    std::string_view ClassName() const override { return "TGxPlane"; }

    float Width() const { return m_width; }
    void SetWidth(float v);
    float Height() const { return m_height; }
    void SetHeight(float v);
    // Texture coordinate at the left / bottom edge (with psTileTexture).
    float XOffset() const { return m_xOffset; }
    void SetXOffset(float v);
    float YOffset() const { return m_yOffset; }
    void SetYOffset(float v);
    // Texture span of one tile; above 1 stores 1.
    float XScope() const { return m_xScope; }
    void SetXScope(float v);
    float YScope() const { return m_yScope; }
    void SetYScope(float v);
    std::uint32_t XTiles() const { return m_xTiles; }
    void SetXTiles(std::uint32_t v);
    std::uint32_t YTiles() const { return m_yTiles; }
    void SetYTiles(std::uint32_t v);
    TPlaneStyles Style() const { return m_style; }
    void SetStyle(TPlaneStyles v);
    bool NoZWrite() const { return m_noZWrite; }
    void SetNoZWrite(bool v);

    void Assign(const TGxPlane& source);

    TGxVector HalfExtentsUnscaled() const override;
    // Hits when the ray crosses z = 0 inside the rectangle travelling towards
    // the plane; the normal faces the side the ray came from.
    bool RayHit(const TGxVector& rayStart, const TGxVector& rayVector, TGxVector* point = nullptr,
                TGxVector* normal = nullptr) const override;

    void EmitGeometry(TRenderContextInfo& rci) override;
    void BuildGeometry() const;

private:
    template <class T>
    void store(T& field, T value);

    float m_width = 1, m_height = 1;
    float m_xOffset = 0, m_yOffset = 0;
    float m_xScope = 1, m_yScope = 1;
    std::uint32_t m_xTiles = 1, m_yTiles = 1;
    TPlaneStyles m_style{TPlaneStyle::psSingleQuad, TPlaneStyle::psTileTexture};
    bool m_noZWrite = false;
};
