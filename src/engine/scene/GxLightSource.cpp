#include "engine/scene/GxLightSource.h"

#include "engine/scene/GxScene.h"

#include <GL/gl.h>

TGxLightSource::TGxLightSource(TGxComponent* owner)
    : TGxBaseSceneObject(owner),
      m_ambient(this, 0, 0, 0, 1),
      m_diffuse(this, 1, 1, 1, 1),
      m_specular(this, 0, 0, 0, 1),
      m_spotDirection(this, VectorMake(0, 0, -1, 0), VectorStyle)
{
}

TGxLightSource::~TGxLightSource()
{
    // The base destructor no longer sees a light here.
    if (Scene())
        Scene()->RemoveLight(this);
}

unsigned TGxLightSource::LightID() const
{
    return m_lightSlot < 0 ? 0u : unsigned(GL_LIGHT0 + m_lightSlot);
}

template <class T>
void TGxLightSource::store(T& field, T value)
{
    if (field == value)
        return;
    field = value;
    SignalChange();
}

void TGxLightSource::SetConstAttenuation(float value)
{
    store(m_constAttenuation, value);
}

void TGxLightSource::SetLinearAttenuation(float value)
{
    store(m_linearAttenuation, value);
}

void TGxLightSource::SetQuadraticAttenuation(float value)
{
    store(m_quadraticAttenuation, value);
}

void TGxLightSource::SetLightStyle(TGxLightStyle style)
{
    store(m_lightStyle, style);
}

void TGxLightSource::SetShining(bool shining)
{
    store(m_shining, shining);
}

void TGxLightSource::SetSpotCutOff(float degrees)
{
    if ((degrees >= 0.0f && degrees <= 90.0f) || degrees == 180.0f)
        store(m_spotCutOff, degrees);
}

void TGxLightSource::SetSpotExponent(float exponent)
{
    store(m_spotExponent, exponent);
}

void TGxLightSource::CoordsChanged(TGxCoordinates* which)
{
    if (which == &m_spotDirection) {
        TGxVector v = m_spotDirection.Vector4();
        v.W = 0.0f;
        m_spotDirection.SetSilently(v);
    }
    TGxBaseSceneObject::CoordsChanged(which);
}

void TGxLightSource::RenderSelf(TRenderContextInfo& rci, bool renderSelf, bool renderChildren)
{
    if (renderChildren && Count() > 0)
        RenderChildRange(0, Count() - 1, rci);
}
