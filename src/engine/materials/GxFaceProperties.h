#pragma once

#include "engine/materials/GxColor.h"

#include <GL/gl.h>

class TGxStateCache;

enum TPolygonMode { pmFill, pmLines, pmPoints };

// The lighting parameters of one side of a surface.
class TGxFaceProperties : public TGxUpdateAbleObject {
public:
    explicit TGxFaceProperties(IGxChangeListener* owner);

    TGxColor& Ambient() { return m_ambient; }
    TGxColor& Diffuse() { return m_diffuse; }
    TGxColor& Emission() { return m_emission; }
    TGxColor& Specular() { return m_specular; }
    const TGxColor& Ambient() const { return m_ambient; }
    const TGxColor& Diffuse() const { return m_diffuse; }
    const TGxColor& Emission() const { return m_emission; }
    const TGxColor& Specular() const { return m_specular; }
    void SetAmbient(const TGxColor& c) { m_ambient.Assign(c); }
    void SetDiffuse(const TGxColor& c) { m_diffuse.Assign(c); }
    void SetEmission(const TGxColor& c) { m_emission.Assign(c); }
    void SetSpecular(const TGxColor& c) { m_specular.Assign(c); }

    // 0 to 128; other values are clamped.
    int Shininess() const { return m_shininess; }
    void SetShininess(int v);
    TPolygonMode PolygonMode() const { return m_polygonMode; }
    void SetPolygonMode(TPolygonMode v);

    // Lighting parameters for GL_FRONT or GL_BACK, through the cache.
    void ApplyLit(TGxStateCache& cache, GLenum face) const;
    // Diffuse as the current colour, and the polygon mode.
    void ApplyUnlit(TGxStateCache& cache, GLenum face) const;

    void Assign(const TGxFaceProperties& source);

private:
    TGxColor m_ambient;
    TGxColor m_diffuse;
    TGxColor m_emission;
    TGxColor m_specular;
    int m_shininess = 0;
    TPolygonMode m_polygonMode = pmFill;
};

// GL_FILL, GL_LINE or GL_POINT.
GLenum glPolygonModeOf(TPolygonMode mode);
