#include "engine/scene/GxCoordinates.h"

#include "base/GxException.h"

TGxCoordinates::TGxCoordinates(TGxCoordinatesUpdateAbleComponent* owner, const TGxVector& value,
                               TGxCoordinatesStyle style)
    : TGxUpdateAbleObject(owner), m_style(style), m_coords(value), m_sceneOwner(owner)
{
}

TGxCoordinates::TGxCoordinates(IGxChangeListener* owner, const TGxVector& value,
                               TGxCoordinatesStyle style)
    : TGxUpdateAbleObject(owner),
      m_style(style),
      m_coords(value),
      m_sceneOwner(dynamic_cast<TGxCoordinatesUpdateAbleComponent*>(owner))
{
}

void TGxCoordinates::NotifyChange(IGxChangeListener* sender)
{
    if (m_sceneOwner) {
        m_sceneOwner->CoordsChanged(this);
        return;
    }
    TGxUpdateAbleObject::NotifyChange(sender);
}

void TGxCoordinates::SetX(float x)
{
    m_coords.X = x;
    changed();
}

void TGxCoordinates::SetY(float y)
{
    m_coords.Y = y;
    changed();
}

void TGxCoordinates::SetZ(float z)
{
    m_coords.Z = z;
    changed();
}

void TGxCoordinates::setW(float w)
{
    m_coords.W = w;
    changed();
}

void TGxCoordinates::SetVector4(const TGxVector& v)
{
    m_coords = v;
    if (m_style == PointStyle)
        m_coords.W = 1.0f;
    else if (m_style == VectorStyle)
        m_coords.W = 0.0f;
    changed();
}

void TGxCoordinates::SetVector3(const TGxAffineVector& v)
{
    m_coords = {v.X, v.Y, v.Z, m_style == PointStyle ? 1.0f : 0.0f};
    changed();
}

void TGxCoordinates::AssignPoint(float x, float y, float z)
{
    gxAssert(m_style != VectorStyle, "Cannot assign a point to vector coordinates");
    m_coords = {x, y, z, 1.0f};
    changed();
}

void TGxCoordinates::AssignVector(float x, float y, float z)
{
    AssignVector(x, y, z, 0.0f);
}

void TGxCoordinates::AssignVector(float x, float y, float z, float w)
{
    gxAssert(m_style != PointStyle, "Cannot assign a vector to point coordinates");
    m_coords = {x, y, z, w};
    changed();
}

void TGxCoordinates::Translate(const TGxVector& v)
{
    Translate(v.Affine());
}

void TGxCoordinates::Translate(const TGxAffineVector& v)
{
    m_coords.X += v.X;
    m_coords.Y += v.Y;
    m_coords.Z += v.Z;
    changed();
}

void TGxCoordinates::Rotate(const TGxVector& axis, float angle)
{
    RotateAboutAxis(m_coords, axis, angle);
    changed();
}

void TGxCoordinates::Normalize()
{
    NormalizeVector(m_coords);
    changed();
}

float TGxCoordinates::VectorLength() const
{
    return ::VectorLength(m_coords);
}
