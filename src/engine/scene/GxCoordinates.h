#pragma once

#include "engine/scene/GxUpdateAbleComponent.h"
#include "engine/scene/VectorGeometry.h"

#include <cstddef>
#include <cstdint>

class TGxCoordinates;

// A component placed through coordinate holders: it hears about each holder
// that changed instead of the general change notification.
class TGxCoordinatesUpdateAbleComponent : public TGxUpdateAbleComponent {
public:
    using TGxUpdateAbleComponent::TGxUpdateAbleComponent;
    std::string_view ClassName() const override { return "TGxCoordinatesUpdateAbleComponent"; }
    virtual void CoordsChanged(TGxCoordinates* which) = 0;
};

// What W means for a holder: PointStyle forces W = 1, VectorStyle W = 0
// where the operations say so; UnknownStyle keeps it.
enum TGxCoordinatesStyle : std::uint8_t { PointStyle = 0, VectorStyle = 1, UnknownStyle = 2 };

// One 4-float vector owned by an object (a position, a direction, a scale).
// Every change is reported: an owner that is a scene object hears
// CoordsChanged(this) and nothing else happens; any other owner gets the
// general notification of updateable objects (not inside the holder's
// update bracket), then the holder's OnNotifyChange callback runs.
class TGxCoordinates : public TGxUpdateAbleObject {
public:
    TGxCoordinates(TGxCoordinatesUpdateAbleComponent* owner, const TGxVector& value,
                   TGxCoordinatesStyle style);
    TGxCoordinates(IGxChangeListener* owner, const TGxVector& value, TGxCoordinatesStyle style);
    // A free-standing holder (a value to assign from) tells nobody.
    TGxCoordinates(std::nullptr_t, const TGxVector& value, TGxCoordinatesStyle style)
        : TGxCoordinates(static_cast<IGxChangeListener*>(nullptr), value, style)
    {
    }

    TGxCoordinatesStyle Style() const { return m_style; }

    float X() const { return m_coords.X; }
    float Y() const { return m_coords.Y; }
    float Z() const { return m_coords.Z; }
    float W() const { return m_coords.W; }
    void SetX(float x);
    void SetY(float y);
    void SetZ(float z);

    const TGxVector& Vector4() const { return m_coords; }
    TGxAffineVector Vector3() const { return m_coords.Affine(); }
    // Stores all four, then W := 1 (PointStyle), 0 (VectorStyle) or as given.
    void SetVector4(const TGxVector& v);
    // W := 1 for PointStyle, else 0.
    void SetVector3(const TGxAffineVector& v);

    // (x, y, z, 1); an assertion failure on a VectorStyle holder.
    void AssignPoint(float x, float y, float z);
    void AssignPoint(const TGxAffineVector& v) { AssignPoint(v.X, v.Y, v.Z); }
    // (x, y, z, 0) or (x, y, z, w); an assertion failure on a PointStyle holder.
    void AssignVector(float x, float y, float z);
    void AssignVector(float x, float y, float z, float w);
    void AssignVector(const TGxAffineVector& v) { AssignVector(v.X, v.Y, v.Z); }

    // Adds X, Y, Z; W untouched.
    void Translate(const TGxVector& v);
    void Translate(const TGxAffineVector& v);
    // RotateAboutAxis on the stored vector (angle in radians).
    void Rotate(const TGxVector& axis, float angle);
    // X, Y, Z to unit length.
    void Normalize();
    float VectorLength() const;

    // Copies the four floats without notifying.
    void Assign(const TGxCoordinates& source) { m_coords = source.m_coords; }
    // Sets the four floats without notifying (used inside change handling).
    void SetSilently(const TGxVector& v) { m_coords = v; }

    void NotifyChange(IGxChangeListener* sender) override;

protected:
    void setW(float w);

private:
    void changed() { NotifyChange(this); }

    // The style first: it fits in the tail of the base, and every scene
    // object holds five of these.
    TGxCoordinatesStyle m_style;
    TGxVector m_coords;
    TGxCoordinatesUpdateAbleComponent* m_sceneOwner;
};

// A holder whose W is also set one component at a time.
class TGxCoordinates4 : public TGxCoordinates {
public:
    using TGxCoordinates::TGxCoordinates;
    void SetW(float w) { setW(w); }
};
