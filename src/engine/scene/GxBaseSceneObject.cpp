#include "engine/scene/GxBaseSceneObject.h"

#include "engine/materials/GxColor.h"
#include "engine/scene/GxCamera.h"
#include "base/GxException.h"
#include "engine/scene/GxFlagScope.h"
#include "engine/scene/GxGeometryBatch.h"
#include "engine/scene/GxListHandle.h"
#include "engine/scene/GxScene.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

// Pitch stays this far (radians) from either pole when orbiting.
constexpr float cPoleMargin = 0.025f;
constexpr float cMaxPitch = 3.1165926f; // pi - 0.025 as a float

bool isZeroVector(const TGxCoordinates& c)
{
    return c.X() == 0.0f && c.Y() == 0.0f && c.Z() == 0.0f;
}

// The right vector of an orthonormal frame: Direction x Up, falling back to
// Z x Up and then X x Up when the two are (nearly) parallel.
TGxVector rightVector(const TGxVector& direction, const TGxVector& up)
{
    TGxVector right = VectorCrossProduct(direction, up);
    if (VectorLength(right) < 1e-5f) {
        right = VectorCrossProduct(VectorMake(0, 0, 1), up);
        if (VectorLength(right) < 1e-5f)
            right = VectorCrossProduct(VectorMake(1, 0, 0), up);
    }
    return right;
}

std::string indexOutOfBounds(int index)
{
    return "List index out of bounds (" + std::to_string(index) + ")";
}

} // namespace

TGxBaseSceneObject::TGxBaseSceneObject(TGxComponent* owner)
    : TGxCoordinatesUpdateAbleComponent(owner),
      m_changes{TGxObjectChange::Transformation, TGxObjectChange::WorldMatrix,
                TGxObjectChange::InvWorldMatrix, TGxObjectChange::Structure}
{
}

TGxBaseSceneObject::Placement::Placement(TGxCoordinatesUpdateAbleComponent* owner)
    : position(owner, VectorMake(0, 0, 0, 1), PointStyle),
      direction(owner, VectorMake(0, 0, 1, 0), VectorStyle),
      up(owner, VectorMake(0, 1, 0, 0), VectorStyle),
      scale(owner, VectorMake(1, 1, 1, 0), VectorStyle),
      rotation(owner, VectorMake(0, 0, 0, 0), VectorStyle)
{
}

TGxBaseSceneObject::Placement& TGxBaseSceneObject::placement()
{
    if (!m_placement)
        m_placement = std::make_unique<Placement>(this);
    return *m_placement;
}

const TGxBaseSceneObject::Placement& TGxBaseSceneObject::place() const
{
    static const Placement defaults(static_cast<TGxCoordinatesUpdateAbleComponent*>(nullptr));
    return m_placement ? *m_placement : defaults;
}

TGxBaseSceneObject::~TGxBaseSceneObject()
{
    // Children freed with their parent leave without being taken off it.
    if (m_scene)
        m_scene->PickIndex().Left(this);
    MarkDestroying();
    SendFreeNotifications();
    if (m_batch)
        m_batch->Remove(this);
    freeCamerasBelow();
    DestroyHandle();
    if (m_parent)
        m_parent->RemoveChild(this, false);
    freeAllChildren();
    DestroyComponents();
}

// ---------------------------------------------------------------- tree

TGxBaseSceneObject* TGxBaseSceneObject::Children(int i) const
{
    if (!m_children)
        return nullptr;
    if (i < 0 || i >= Count())
        throw EGxAssertion(indexOutOfBounds(i));
    return (*m_children)[i];
}

void TGxBaseSceneObject::ReserveChildren(int count)
{
    if (count <= 0)
        return;
    if (!m_children)
        m_children = std::make_unique<std::vector<TGxBaseSceneObject*>>();
    m_children->reserve(std::size_t(count));
}

int TGxBaseSceneObject::ChildIndex(const TGxBaseSceneObject* child) const
{
    if (!m_children)
        return -1;
    const auto it = std::find(m_children->begin(), m_children->end(), child);
    return it == m_children->end() ? -1 : int(it - m_children->begin());
}

bool TGxBaseSceneObject::IsInSubtree(const TGxBaseSceneObject* object) const
{
    for (const TGxBaseSceneObject* o = object; o; o = o->m_parent)
        if (o == this)
            return true;
    return false;
}

void TGxBaseSceneObject::checkCanAdopt(const TGxBaseSceneObject* child) const
{
    gxAssert(child != nullptr, "Cannot add a null scene object");
    gxAssert(!child->m_isSceneRoot, "A scene root cannot become a child");
    gxAssert(!child->IsInSubtree(this),
             "An object cannot become a child of itself or of its descendants");
}

void TGxBaseSceneObject::AppendChild(TGxBaseSceneObject* child)
{
    checkCanAdopt(child);
    // An object has one parent: appending it elsewhere takes it off the old one.
    if (child->m_parent)
        child->m_parent->RemoveChild(child, false);
    if (m_scene)
        m_scene->AddLights(child);
    if (!m_children)
        m_children = std::make_unique<std::vector<TGxBaseSceneObject*>>();
    m_children->push_back(child);
    child->m_indexInParent = int(m_children->size()) - 1;
    child->m_parent = this;
    child->setScene(m_scene);
    m_batchRefused = false;
    batchChanged(TGxGeometryBatch::StateChange);
    TransformDirty();
    child->TransformDirty();
}

void TGxBaseSceneObject::InsertChild(int index, TGxBaseSceneObject* child)
{
    checkCanAdopt(child);
    const int limit = Count() - (child->m_parent == this ? 1 : 0);
    if (index < 0 || index > limit)
        throw EGxAssertion(indexOutOfBounds(index));
    if (!m_children)
        m_children = std::make_unique<std::vector<TGxBaseSceneObject*>>();
    if (child->m_parent)
        child->m_parent->RemoveChild(child, false);
    m_children->insert(m_children->begin() + index, child);
    renumberChildren(index);
    child->m_parent = this;
    child->setScene(m_scene);
    m_batchRefused = false;
    batchChanged(TGxGeometryBatch::StateChange);
    if (m_scene)
        m_scene->AddLights(child);
    child->TransformDirty();
}

void TGxBaseSceneObject::RemoveChild(TGxBaseSceneObject* child, bool keepChildren)
{
    if (!child || child->m_parent != this)
        return;
    if (m_scene)
        m_scene->RemoveLights(child);
    if (child->Owner() == this)
        RemoveComponent(child);
    if (child->m_batch)
        child->m_batch->Remove(child);
    batchChanged(TGxGeometryBatch::StateChange);
    const int at = child->m_indexInParent;
    m_children->erase(m_children->begin() + at);
    renumberChildren(at);
    child->m_parent = nullptr;
    child->m_indexInParent = -1;
    if (keepChildren) {
        BeginUpdate();
        while (child->Count() > 0)
            child->Children(0)->Reparent(this);
        EndUpdate();
    } else {
        SignalChange();
    }
    // Out of the tree is out of the scene: a detached object must not keep
    // a pointer to a scene that may be freed before it.
    child->setScene(nullptr);
}

void TGxBaseSceneObject::Reparent(TGxBaseSceneObject* newParent)
{
    gxAssert(!m_isSceneRoot, "A scene root cannot become a child");
    if (newParent)
        newParent->checkCanAdopt(this);
    if (m_parent)
        m_parent->RemoveChild(this, false);
    if (newParent)
        newParent->AppendChild(this);
    else
        setScene(nullptr);
}

void TGxBaseSceneObject::FreeChildren()
{
    if (Count() == 0)
        return;
    freeAllChildren();
    SignalChange();
}

namespace {

void collectCameras(const TGxBaseSceneObject* object, std::vector<TGxCamera*>& cameras)
{
    for (int i = 0; i < object->Count(); ++i) {
        TGxBaseSceneObject* child = object->Children(i);
        if (TGxCamera* camera = child->AsCamera())
            cameras.push_back(camera);
        collectCameras(child, cameras);
    }
}

} // namespace

void TGxBaseSceneObject::freeCamerasBelow()
{
    // Cameras go first, each on its own: their children stay behind with
    // the camera's parent and are freed with the rest.
    std::vector<TGxCamera*> cameras;
    collectCameras(this, cameras);
    for (TGxCamera* camera : cameras) {
        if (camera->Parent())
            camera->Parent()->RemoveChild(camera, true);
        delete camera;
    }
}

void TGxBaseSceneObject::freeAllChildren()
{
    if (!m_children)
        return;
    freeCamerasBelow();
    if (m_scene)
        for (TGxBaseSceneObject* child : *m_children)
            m_scene->RemoveLights(child);
    while (!m_children->empty()) {
        TGxBaseSceneObject* child = m_children->back();
        m_children->pop_back();
        child->m_parent = nullptr;
        child->m_indexInParent = -1;
        delete child;
    }
}

void TGxBaseSceneObject::renumberChildren(int from)
{
    for (int i = from; i < Count(); ++i)
        (*m_children)[i]->m_indexInParent = i;
}

void TGxBaseSceneObject::setScene(TGxScene* scene)
{
    if (m_scene != scene) {
        if (m_scene)
            m_scene->PickIndex().Left(this);
        // Display lists live in the old scene's rendering context.
        DestroyHandle();
        m_scene = scene;
        if (m_scene)
            m_scene->PickIndex().Joined(this);
    } else if (m_scene) {
        // Moved within the scene: another parent, another place.
        m_scene->PickIndex().Moved(this);
    }
    if (m_children)
        for (TGxBaseSceneObject* child : *m_children)
            child->setScene(scene);
}

void TGxBaseSceneObject::InitSceneRoot(TGxScene* scene)
{
    m_scene = scene;
    m_isSceneRoot = true;
}

// ---------------------------------------------------------------- placement

void TGxBaseSceneObject::SetPosition(const TGxCoordinates& source)
{
    placement().position.AssignPoint(source.X(), source.Y(), source.Z());
}

void TGxBaseSceneObject::SetDirection(const TGxCoordinates& source)
{
    if (!isZeroVector(source))
        placement().direction.AssignVector(source.X(), source.Y(), source.Z());
}

void TGxBaseSceneObject::SetUp(const TGxCoordinates& source)
{
    if (!isZeroVector(source))
        placement().up.AssignVector(source.X(), source.Y(), source.Z());
}

void TGxBaseSceneObject::SetScale(const TGxCoordinates& source)
{
    placement().scale.Assign(source);
    TransformDirty();
}

void TGxBaseSceneObject::Translate(float dx, float dy, float dz)
{
    placement().position.Translate(TGxAffineVector{dx, dy, dz});
}

void TGxBaseSceneObject::rotateBy(const TGxVector& axis, float oldAngle, float newAngle)
{
    const TGxMatrix r = AxisRotationMatrix(axis, DegToRad(oldAngle - newAngle));
    {
        // Rotating keeps the frame orthogonal: no repair on the way.
        TGxFlagScope calculating(m_isCalculating);
        Placement& o = placement();
        o.up.SetSilently(VectorTransform(o.up.Vector4(), r));
        o.up.Normalize();
        o.direction.SetSilently(VectorTransform(o.direction.Vector4(), r));
        o.direction.Normalize();
    }
    TransformDirty();
}

void TGxBaseSceneObject::SetPitchAngle(float angle)
{
    if (angle != PitchAngle() && !IsLoading())
        rotateBy(RightAxis(), PitchAngle(), angle);
    TGxVector r = place().rotation.Vector4();
    r.X = NormalizeDegAngle(angle);
    placement().rotation.SetSilently(r);
}

void TGxBaseSceneObject::SetTurnAngle(float angle)
{
    if (angle != TurnAngle() && !IsLoading())
        rotateBy(place().up.Vector4(), TurnAngle(), angle);
    TGxVector r = place().rotation.Vector4();
    r.Y = NormalizeDegAngle(angle);
    placement().rotation.SetSilently(r);
}

void TGxBaseSceneObject::SetRollAngle(float angle)
{
    if (angle != RollAngle() && !IsLoading())
        rotateBy(place().direction.Vector4(), RollAngle(), angle);
    TGxVector r = place().rotation.Vector4();
    r.Z = NormalizeDegAngle(angle);
    placement().rotation.SetSilently(r);
}

TGxVector TGxBaseSceneObject::RightAxis() const
{
    return VectorCrossProduct(place().direction.Vector4(), place().up.Vector4());
}

TGxVector TGxBaseSceneObject::LeftAxis() const
{
    return VectorCrossProduct(place().up.Vector4(), place().direction.Vector4());
}

// ---------------------------------------------------------------- matrices

void TGxBaseSceneObject::refreshMatrix() const
{
    // Without matrices the object matrix is the identity: never moved,
    // turned or scaled, the object sits on its parent's axes.
    const bool identity = !m_placement;
    if (m_matrices || !identity) {
        TGxMatrix& m = matrices().object;
        const Placement& o = place();
        const TGxVector& s = o.scale.Vector4();
        m.SetRow(0, VectorScale(LeftAxis(), s.X));
        m.SetRow(1, VectorScale(o.up.Vector4(), s.Y));
        m.SetRow(2, VectorScale(o.direction.Vector4(), s.Z));
        m.SetRow(3, o.position.Vector4());
    }
    m_changes.Exclude(TGxObjectChange::Transformation);
    m_changes.Include(TGxObjectChange::WorldMatrix);
    m_changes.Include(TGxObjectChange::InvWorldMatrix);
}

const TGxMatrix& TGxBaseSceneObject::ObjectMatrix() const
{
    if (m_changes.Contains(TGxObjectChange::Transformation))
        refreshMatrix();
    static const TGxMatrix identity = IdentityMatrix();
    return m_matrices ? m_matrices->object : identity;
}

TGxBaseSceneObject::Matrices& TGxBaseSceneObject::matrices() const
{
    if (!m_matrices) {
        m_matrices = std::make_unique<Matrices>();
        // What ObjectMatrix gave until now.
        m_matrices->object = IdentityMatrix();
    }
    return *m_matrices;
}

const TGxMatrix& TGxBaseSceneObject::WorldMatrix() const
{
    Matrices& m = matrices();
    if (m_changes.Contains(TGxObjectChange::WorldMatrix)) {
        const TGxMatrix& local = ObjectMatrix();
        if (!m_parent || m_parent->m_isSceneRoot)
            m.world = local;
        else
            m.world = MatrixMultiply(local, m_parent->WorldMatrix());
        m_changes.Exclude(TGxObjectChange::WorldMatrix);
        m_changes.Include(TGxObjectChange::InvWorldMatrix);
    }
    return m.world;
}

const TGxMatrix& TGxBaseSceneObject::InvWorldMatrix() const
{
    Matrices& m = matrices();
    if (m_changes.Contains(TGxObjectChange::InvWorldMatrix)) {
        if (place().scale.Vector4() == VectorMake(1, 1, 1, 0)) {
            m.inverse = AnglePreservingInvertMatrix(ObjectMatrix());
            // Like WorldMatrix, the roots' own transforms never apply, so
            // the inverse stays the inverse of WorldMatrix.
            if (m_parent && !m_parent->m_isSceneRoot)
                m.inverse = MatrixMultiply(m_parent->InvWorldMatrix(), m.inverse);
        } else {
            m.inverse = InvertMatrix(WorldMatrix());
        }
        m_changes.Exclude(TGxObjectChange::InvWorldMatrix);
    }
    return m.inverse;
}

TGxVector TGxBaseSceneObject::WorldPosition() const
{
    TGxVector p = WorldMatrix().Row(3);
    p.W = 1.0f;
    return p;
}

TGxVector TGxBaseSceneObject::WorldUp() const
{
    return VectorNormalize(WorldMatrix().Row(1));
}

TGxVector TGxBaseSceneObject::WorldDirection() const
{
    return VectorNormalize(WorldMatrix().Row(2));
}

TGxVector TGxBaseSceneObject::ToWorld(const TGxVector& v) const
{
    return VectorTransform(v, WorldMatrix());
}

TGxVector TGxBaseSceneObject::ToLocal(const TGxVector& v) const
{
    return VectorTransform(v, InvWorldMatrix());
}

void TGxBaseSceneObject::OrbitAround(const TGxBaseSceneObject* other, float pitchDelta,
                                     float turnDelta)
{
    if (!other)
        return;
    const TGxVector own = WorldPosition();
    const TGxVector offset = VectorSubtract(own, other->WorldPosition());
    TGxVector n = offset;
    const float dist = VectorLength(n);
    NormalizeVector(n);

    const TGxVector up = WorldUp();
    TGxVector right = VectorCrossProduct(up, n);
    if (VectorLength(right) < 0.001f)
        right = VectorMake(1, 0, 0, 0);
    else
        NormalizeVector(right);

    // Rounding can push the cosine a hair past 1.
    const float cosine = std::clamp(VectorDotProduct(up, n), -1.0f, 1.0f);
    const float pitch = std::clamp(std::acos(cosine) + DegToRad(pitchDelta), cPoleMargin, cMaxPitch);

    n = up;
    RotateAboutAxis(n, right, -pitch);
    RotateAboutAxis(n, up, -DegToRad(turnDelta));
    n = VectorScale(n, dist);

    TGxVector target = VectorAdd(own, VectorSubtract(n, offset));
    if (m_parent)
        target = m_parent->ToLocal(target);
    placement().position.SetVector4(target);
}

// ---------------------------------------------------------------- bounds

TGxVector TGxBaseSceneObject::HalfExtentsUnscaled() const
{
    return VectorMake(0.5f, 0.5f, 0.5f, 0.0f);
}

TGxAABB TGxBaseSceneObject::WorldBoundingBox() const
{
    const TGxVector h = HalfExtentsUnscaled();
    return TransformAABB(MakeAABB({-h.X, -h.Y, -h.Z}, {h.X, h.Y, h.Z}), WorldMatrix());
}

TGxAABB TGxBaseSceneObject::HierarchicalWorldBoundingBox() const
{
    TGxAABB box = WorldBoundingBox();
    if (m_children)
        for (const TGxBaseSceneObject* child : *m_children)
            box.Include(child->HierarchicalWorldBoundingBox());
    return box;
}

bool TGxBaseSceneObject::GeometryOutsideFrustum(const TGxFrustum& frustum) const
{
    TGxAABB box;
    return GeometryBoundingBox(box) && IsBoxOutsideFrustum(frustum, TransformAABB(box, WorldMatrix()));
}

TGxVector TGxBaseSceneObject::HalfExtents() const
{
    const TGxVector h = HalfExtentsUnscaled();
    const TGxVector& s = place().scale.Vector4();
    return VectorMake(h.X * s.X, h.Y * s.Y, h.Z * s.Z, 0.0f);
}

float TGxBaseSceneObject::BoundRadius() const
{
    return VectorLength(HalfExtents());
}

bool TGxBaseSceneObject::ContainsPoint(const TGxVector& point) const
{
    const TGxVector p = ToLocal(point);
    const TGxVector h = HalfExtents();
    const TGxVector& s = place().scale.Vector4();
    return !(std::fabs(p.X * s.X) > h.X || std::fabs(p.Y * s.Y) > h.Y || std::fabs(p.Z * s.Z) > h.Z);
}

bool TGxBaseSceneObject::RayHit(const TGxVector& rayStart, const TGxVector& rayVector,
                                TGxVector* point, TGxVector* normal) const
{
    const TGxVector centre = WorldPosition();
    const float radius = BoundRadius();
    const TGxVector dir = VectorNormalize(rayVector);
    if (VectorNorm(dir) == 0.0f)
        return false;
    // |start + t dir - centre| = radius, with |dir| = 1.
    const TGxVector toStart = VectorSubtract(rayStart, centre);
    const float b = VectorDotProduct(toStart, dir);
    const float c = VectorNorm(toStart) - radius * radius;
    const float disc = b * b - c;
    if (disc < 0.0f)
        return false;
    const float root = std::sqrt(disc);
    float t = -b - root;
    if (t < 0.0f)
        t = -b + root; // the start lies inside the sphere
    if (t < 0.0f)
        return false;
    const TGxVector hit = VectorMake(rayStart.X + t * dir.X, rayStart.Y + t * dir.Y,
                                     rayStart.Z + t * dir.Z, 1.0f);
    if (point)
        *point = hit;
    if (normal)
        *normal = VectorNormalize(VectorMake(hit.X - centre.X, hit.Y - centre.Y, hit.Z - centre.Z, 0.0f));
    return true;
}

// ---------------------------------------------------------------- change notification

void TGxBaseSceneObject::BeginUpdate()
{
    ++m_updateCount;
}

void TGxBaseSceneObject::EndUpdate()
{
    gxAssert(m_updateCount >= 1, "Unbalanced Begin/EndUpdate");
    if (--m_updateCount == 0)
        SignalChange();
}

void TGxBaseSceneObject::SignalChange()
{
    if (m_scene && m_updateCount == 0 && !IsLoading())
        m_scene->SignalChange();
}

void TGxBaseSceneObject::batchChanged(std::uint8_t change)
{
    if (m_batch)
        m_batch->MemberChanged(m_batchEntry, change);
}

void TGxBaseSceneObject::NotifyChange(IGxChangeListener* sender)
{
    batchChanged(TGxGeometryBatch::MaterialChange);
    if (dynamic_cast<TGxColor*>(sender))
        GeometryDirty();
    SignalChange();
}

void TGxBaseSceneObject::invalidateWorldMatrices()
{
    if (!m_children)
        return;
    for (TGxBaseSceneObject* child : *m_children) {
        if (child->m_changes.Contains(TGxObjectChange::WorldMatrix)
            && child->m_changes.Contains(TGxObjectChange::InvWorldMatrix))
            continue;
        child->m_changes.Include(TGxObjectChange::WorldMatrix);
        child->m_changes.Include(TGxObjectChange::InvWorldMatrix);
        child->invalidateWorldMatrices();
    }
}

void TGxBaseSceneObject::TransformDirty()
{
    batchChanged(TGxGeometryBatch::StateChange);
    // Once marked, further changes stay silent until the matrix is rebuilt:
    // a burst of changes costs one notification.
    if (m_changes.Contains(TGxObjectChange::Transformation))
        return;
    m_changes.Include(TGxObjectChange::Transformation);
    m_changes.Include(TGxObjectChange::WorldMatrix);
    m_changes.Include(TGxObjectChange::InvWorldMatrix);
    invalidateWorldMatrices();
    // Until the matrix is rebuilt, which taking the boxes again does, the
    // index has this subtree marked already.
    if (m_scene && !m_isSceneRoot)
        m_scene->PickIndex().SubtreeMoved(this);
    if (!IsLoading())
        SignalChange();
}

void TGxBaseSceneObject::GeometryDirty()
{
    if (m_scene)
        m_scene->PickIndex().Moved(this);
    m_batchRefused = false;
    batchChanged(TGxGeometryBatch::GeometryChange);
    if (!m_changes.Contains(TGxObjectChange::Structure)) {
        m_changes.Include(TGxObjectChange::Structure);
        SignalChange();
    } else if (m_renderFlags.Contains(TGxRenderFlag::DrawEveryFrame)) {
        SignalChange();
    }
}

void TGxBaseSceneObject::CoordsChanged(TGxCoordinates* which)
{
    if (m_isCalculating)
        return;
    TGxFlagScope calculating(m_isCalculating);
    Placement* o = m_placement.get();
    if (o && which == &o->direction) {
        if (o->direction.VectorLength() == 0.0f)
            o->direction.SetSilently(VectorMake(0, 0, 1, 0));
        o->direction.Normalize();
        const TGxVector right = rightVector(o->direction.Vector4(), o->up.Vector4());
        o->up.SetSilently(VectorCrossProduct(right, o->direction.Vector4()));
        o->up.Normalize();
    } else if (o && which == &o->up) {
        if (o->up.VectorLength() == 0.0f)
            o->up.SetSilently(VectorMake(0, 1, 0, 0));
        o->up.Normalize();
        const TGxVector right = rightVector(o->direction.Vector4(), o->up.Vector4());
        o->direction.SetSilently(VectorCrossProduct(o->up.Vector4(), right));
        o->direction.Normalize();
    }
    TransformDirty();
}

void TGxBaseSceneObject::Loaded()
{
    // An object never placed is at the default point, W = 1 already.
    if (!m_placement)
        return;
    TGxVector p = m_placement->position.Vector4();
    p.W = 1.0f;
    m_placement->position.SetSilently(p);
}

// ---------------------------------------------------------------- display properties

void TGxBaseSceneObject::SetRenderFlags(TGxRenderFlags flags)
{
    m_renderFlags = flags;
    batchChanged(TGxGeometryBatch::StateChange);
    if (m_scene)
        m_scene->PickIndex().Moved(this); // NeverCull decides whether it can be left out
}

void TGxBaseSceneObject::SetVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    batchChanged(TGxGeometryBatch::StateChange);
    SignalChange();
}

void TGxBaseSceneObject::SetShowAxes(bool show)
{
    if (show == m_showAxes)
        return;
    m_showAxes = show;
    batchChanged(TGxGeometryBatch::StateChange);
    SignalChange();
}

void TGxBaseSceneObject::SetObjectsSorting(TGxObjectsSorting sorting)
{
    if (sorting == m_objectsSorting)
        return;
    m_objectsSorting = sorting;
    batchChanged(TGxGeometryBatch::StateChange);
    SignalChange();
}

void TGxBaseSceneObject::SetVisibilityCulling(TGxVisibilityCulling culling)
{
    if (culling == m_visibilityCulling)
        return;
    m_visibilityCulling = culling;
    SignalChange();
}

// ---------------------------------------------------------------- progress

void TGxBaseSceneObject::StepProgress(const TGxProgressTimes& times)
{
    // Index-based: a handler may free children while the walk runs.
    for (int i = Count() - 1; i >= 0; --i)
        if (i < Count())
            (*m_children)[i]->StepProgress(times);
    if (OnProgress)
        OnProgress(this, times.deltaTime, times.newTime);
}
