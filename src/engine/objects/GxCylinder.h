#pragma once

#include "engine/scene/GxCustomSceneObject.h"
#include "engine/scene/GxFlagSet.h"

enum TNormalSmoothing { nsFlat, nsSmooth, nsNone };
enum TNormalDirection { ndInside, ndOutside };

// A shape drawn with GLU quadrics.
class TGxQuadricObject : public TGxSceneObject {
public:
    using TGxSceneObject::TGxSceneObject;
    std::string_view ClassName() const override { return "TGxQuadricObject"; }

    TNormalSmoothing Normals() const { return m_normals; }
    void SetNormals(TNormalSmoothing v);
    TNormalDirection NormalDirection() const { return m_normalDirection; }
    void SetNormalDirection(TNormalDirection v);

protected:
    template <class T>
    void store(T& field, T value)
    {
        if (field == value)
            return;
        field = value;
        GeometryDirty();
    }

private:
    TNormalSmoothing m_normals = nsSmooth;
    TNormalDirection m_normalDirection = ndOutside;
};

class TGxCylinderBase : public TGxQuadricObject {
public:
    using TGxQuadricObject::TGxQuadricObject;
    std::string_view ClassName() const override { return "TGxCylinderBase"; }

    float BottomRadius() const { return m_bottomRadius; }
    void SetBottomRadius(float v) { store(m_bottomRadius, v); }
    float Height() const { return m_height; }
    void SetHeight(float v) { store(m_height, v); }
    int Slices() const { return m_slices; }
    void SetSlices(int v) { store(m_slices, v); }
    int Stacks() const { return m_stacks; }
    void SetStacks(int v) { store(m_stacks, v); }
    // Values below 1 are ignored.
    int Loops() const { return m_loops; }
    void SetLoops(int v)
    {
        if (v >= 1)
            store(m_loops, v);
    }

private:
    float m_bottomRadius = 0.5f;
    float m_height = 1;
    int m_slices = 16;
    int m_stacks = 4;
    int m_loops = 1;
};

enum class TCylinderPart { cySides, cyBottom, cyTop };
using TCylinderParts = TGxFlagSet<TCylinderPart>;
enum TCylinderAlignment { caCenter, caTop, caBottom };

// A cylinder or truncated cone along the local Y axis.
class TGxCylinder : public TGxCylinderBase {
public:
    using TGxCylinderBase::TGxCylinderBase;
    std::string_view ClassName() const override { return "TGxCylinder"; }

    float TopRadius() const { return m_topRadius; }
    void SetTopRadius(float v) { store(m_topRadius, v); }
    TCylinderParts Parts() const { return m_parts; }
    void SetParts(TCylinderParts v) { store(m_parts, v); }
    // caCenter centres it on the origin, caBottom puts its bottom there, caTop its top.
    TCylinderAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TCylinderAlignment v) { store(m_alignment, v); }

    void Assign(const TGxCylinder& source);

    TGxVector HalfExtentsUnscaled() const override;
    void EmitGeometry(TRenderContextInfo& rci) override;
    void BuildGeometry() const;

private:
    float m_topRadius = 0.5f;
    TCylinderParts m_parts{TCylinderPart::cySides, TCylinderPart::cyBottom, TCylinderPart::cyTop};
    TCylinderAlignment m_alignment = caCenter;
};
