#include "engine/materials/GxFaceProperties.h"

#include "engine/materials/GxGlApi.h"
#include "engine/materials/GxStateCache.h"

#include <algorithm>

TGxFaceProperties::TGxFaceProperties(IGxChangeListener* owner)
    : TGxUpdateAbleObject(owner),
      m_ambient(this, 0.2f, 0.2f, 0.2f, 1.0f),
      m_diffuse(this, 0.8f, 0.8f, 0.8f, 1.0f),
      m_emission(this, 0, 0, 0, 1),
      m_specular(this, 0, 0, 0, 1)
{
}

void TGxFaceProperties::SetShininess(int v)
{
    v = std::clamp(v, 0, 128);
    if (v == m_shininess)
        return;
    m_shininess = v;
    NotifyChange(this);
}

void TGxFaceProperties::SetPolygonMode(TPolygonMode v)
{
    if (v == m_polygonMode)
        return;
    m_polygonMode = v;
    NotifyChange(this);
}

GLenum glPolygonModeOf(TPolygonMode mode)
{
    switch (mode) {
    case pmLines: return GL_LINE;
    case pmPoints: return GL_POINT;
    default: return GL_FILL;
    }
}

void TGxFaceProperties::ApplyLit(TGxStateCache& cache, GLenum face) const
{
    cache.SetMaterialColors(face, m_emission.AsArray(), m_ambient.AsArray(), m_diffuse.AsArray(),
                            m_specular.AsArray(), m_shininess);
    cache.SetPolygonMode(face, glPolygonModeOf(m_polygonMode));
}

void TGxFaceProperties::ApplyUnlit(TGxStateCache& cache, GLenum face) const
{
    GxGl().Color4fv(m_diffuse.AsArray());
    cache.SetPolygonMode(face, glPolygonModeOf(m_polygonMode));
}

void TGxFaceProperties::Assign(const TGxFaceProperties& source)
{
    m_ambient.DirectVector() = source.m_ambient.Vector();
    m_diffuse.DirectVector() = source.m_diffuse.Vector();
    m_emission.DirectVector() = source.m_emission.Vector();
    m_specular.DirectVector() = source.m_specular.Vector();
    m_shininess = source.m_shininess;
    m_polygonMode = source.m_polygonMode;
    NotifyChange(this);
}
