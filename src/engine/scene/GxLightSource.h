#pragma once

#include "engine/materials/GxColor.h"
#include "engine/scene/GxBaseSceneObject.h"

enum TGxLightStyle { lsSpot, lsOmni, lsParallel };

// A light of the scene. It draws nothing itself; while it is in a scene it
// holds one of the scene's eight light slots, which gives its OpenGL light
// number.
class TGxLightSource : public TGxBaseSceneObject {
public:
    explicit TGxLightSource(TGxComponent* owner);
    ~TGxLightSource() override;
    std::string_view ClassName() const override { return "TGxLightSource"; }
    TGxLightSource* AsLight() override { return this; }

    // The slot in the scene's light slots, -1 without one.
    int LightSlot() const { return m_lightSlot; }
    // GL_LIGHT0 + slot; 0 without a slot.
    unsigned LightID() const;

    TGxColor& Ambient() { return m_ambient; }
    const TGxColor& Ambient() const { return m_ambient; }
    void SetAmbient(const TGxColor& color) { m_ambient.Assign(color); }
    TGxColor& Diffuse() { return m_diffuse; }
    const TGxColor& Diffuse() const { return m_diffuse; }
    void SetDiffuse(const TGxColor& color) { m_diffuse.Assign(color); }
    TGxColor& Specular() { return m_specular; }
    const TGxColor& Specular() const { return m_specular; }
    void SetSpecular(const TGxColor& color) { m_specular.Assign(color); }

    float ConstAttenuation() const { return m_constAttenuation; }
    void SetConstAttenuation(float value);
    float LinearAttenuation() const { return m_linearAttenuation; }
    void SetLinearAttenuation(float value);
    float QuadraticAttenuation() const { return m_quadraticAttenuation; }
    void SetQuadraticAttenuation(float value);
    TGxLightStyle LightStyle() const { return m_lightStyle; }
    void SetLightStyle(TGxLightStyle style);
    bool Shining() const { return m_shining; }
    void SetShining(bool shining);
    // Degrees; only 0 to 90 or exactly 180 are taken, anything else is ignored.
    float SpotCutOff() const { return m_spotCutOff; }
    void SetSpotCutOff(float degrees);
    float SpotExponent() const { return m_spotExponent; }
    void SetSpotExponent(float exponent);
    // A vector holder; its W is always 0. A change counts as a move.
    TGxCoordinates& SpotDirection() { return m_spotDirection; }
    const TGxCoordinates& SpotDirection() const { return m_spotDirection; }

    void CoordsChanged(TGxCoordinates* which) override;
    // Only the children.
    void RenderSelf(TRenderContextInfo& rci, bool renderSelf, bool renderChildren) override;

private:
    friend class TGxScene;
    void setLightSlot(int slot) { m_lightSlot = slot; }
    template <class T>
    void store(T& field, T value);

    TGxColor m_ambient;
    TGxColor m_diffuse;
    TGxColor m_specular;
    TGxCoordinates m_spotDirection;
    float m_constAttenuation = 1.0f;
    float m_linearAttenuation = 0.0f;
    float m_quadraticAttenuation = 0.0f;
    float m_spotCutOff = 180.0f;
    float m_spotExponent = 0.0f;
    TGxLightStyle m_lightStyle = lsSpot;
    bool m_shining = true;
    int m_lightSlot = -1;
};
