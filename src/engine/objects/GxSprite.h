#pragma once

#include "engine/scene/GxCustomSceneObject.h"

// A textured rectangle that always faces the viewer (a billboard), centred
// on the object's origin. Drawn directly every frame and never culled.
class TGxSprite : public TGxSceneObject {
public:
    explicit TGxSprite(TGxComponent* owner);
    std::string_view ClassName() const override { return "TGxSprite"; }

    float Width() const { return m_width; }
    void SetWidth(float v);
    float Height() const { return m_height; }
    void SetHeight(float v);
    // Degrees about the viewing axis.
    float Rotation() const { return m_rotation; }
    void SetRotation(float v);
    // Opacity; set values are clamped into 0..1.
    float AlphaChannel() const { return m_alphaChannel; }
    void SetAlphaChannel(float v);
    bool NoZWrite() const { return m_noZWrite; }
    void SetNoZWrite(bool v);
    bool MirrorU() const { return m_mirrorU; }
    void SetMirrorU(bool v);
    bool MirrorV() const { return m_mirrorV; }
    void SetMirrorV(bool v);

    // (|Width| / 2, |Height| / 2, |Width| / 2): the rectangle turns with the view.
    TGxVector HalfExtentsUnscaled() const override;
    void EmitGeometry(TRenderContextInfo& rci) override;

protected:
    // With AlphaChannel below 1: the rectangle's alpha, through the front
    // material when lit, else through the current colour.
    void ApplyAlphaChannel(TRenderContextInfo& rci);

private:
    template <class T>
    void store(T& field, T value);

    float m_width = 1;
    float m_height = 1;
    float m_rotation = 0;
    float m_alphaChannel = 1;
    bool m_noZWrite = false;
    bool m_mirrorU = false;
    bool m_mirrorV = false;
};
