#pragma once

#include "engine/scene/GxCoordinates.h"
#include "engine/scene/GxFlagSet.h"
#include "engine/scene/GxFrustum.h"
#include "engine/scene/VectorGeometry.h"

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

struct TRenderContextInfo;
class TGxCamera;
class TGxLightSource;
class TGxGeometryBatch;
class TGxListHandle;
class TGxPickIndex;
class TGxScene;

enum TGxObjectsSorting {
    osInherited,
    osNone,
    osRenderFarthestFirst,
    osRenderBlendedLast,
    osRenderNearestFirst
};
enum TGxVisibilityCulling { vcInherited, vcNone, vcObjectBased, vcHierarchical };

// What has to be rebuilt before the object is used again.
enum class TGxObjectChange { Transformation, WorldMatrix, InvWorldMatrix, Structure };
using TGxObjectChanges = TGxFlagSet<TGxObjectChange>;

enum class TGxRenderFlag { DrawEveryFrame, ResetMaterialAfter, NoDepthTest, NeverCull };
using TGxRenderFlags = TGxFlagSet<TGxRenderFlag>;

// A node of the scene tree: placed by its Position, Direction, Up and Scale
// holders relative to its parent, with matrices rebuilt lazily behind the
// change flags.
//
// Ownership: the tree parent frees its children, and the component owner
// frees what it owns (SpawnChild passes the parent's own owner, so objects
// spawned under the scene's roots are owned by the TGxScene and are freed
// with it even after being taken out of the tree). Freeing an object with
// `delete` takes it out of the tree and off its owner first, and frees its
// children.
class TGxBaseSceneObject : public TGxCoordinatesUpdateAbleComponent {
public:
    explicit TGxBaseSceneObject(TGxComponent* owner);
    ~TGxBaseSceneObject() override;
    std::string_view ClassName() const override { return "TGxBaseSceneObject"; }

    // ---- Tree ----
    // New T(this object's owner, args...) appended as the last child.
    template <class T, class... Args>
    T* SpawnChild(Args&&... args)
    {
        std::unique_ptr<T> child(new T(Owner(), std::forward<Args>(args)...));
        AppendChild(child.get());
        return child.release();
    }
    // The same, inserted as the first child.
    template <class T, class... Args>
    T* SpawnChildFirst(Args&&... args)
    {
        std::unique_ptr<T> child(new T(Owner(), std::forward<Args>(args)...));
        InsertChild(0, child.get());
        return child.release();
    }
    // Takes the child off its previous parent, if any, and appends it.
    virtual void AppendChild(TGxBaseSceneObject* child);
    // Takes the child off its previous parent, if any, and inserts it at
    // index (0 <= index <= Count() once it is off).
    virtual void InsertChild(int index, TGxBaseSceneObject* child);
    // Detaches a child of this object (anything else is ignored). With
    // keepChildren its children move to this object, appended in order.
    // The detached object leaves the scene and is no longer owned by this
    // object; its component owner, if another, still frees it.
    virtual void RemoveChild(TGxBaseSceneObject* child, bool keepChildren);
    virtual void FreeChildren();
    // Detach, then append to newParent; null leaves the tree and the scene.
    virtual void Reparent(TGxBaseSceneObject* newParent);

    TGxBaseSceneObject* Parent() const { return m_parent; }
    void SetParent(TGxBaseSceneObject* parent) { Reparent(parent); }
    int Count() const { return m_children ? int(m_children->size()) : 0; }
    // Room for `count` children in all, made at once.
    void ReserveChildren(int count);
    // Null when the object never had children; else i must be in range.
    TGxBaseSceneObject* Children(int i) const;
    int ChildIndex(const TGxBaseSceneObject* child) const;
    // This object's place among its parent's children; -1 without a parent.
    int IndexInParent() const { return m_indexInParent; }
    // True when `object` is this object or lies below it.
    bool IsInSubtree(const TGxBaseSceneObject* object) const;
    TGxScene* Scene() const { return m_scene; }
    bool IsSceneRoot() const { return m_isSceneRoot; }
    // This object as a camera (a light); null for any other. Asked of every
    // object joining or leaving a tree, where a type cast would cost more
    // than the rest.
    virtual TGxCamera* AsCamera() { return nullptr; }
    virtual TGxLightSource* AsLight() { return nullptr; }

    // ---- Placement ----
    TGxCoordinates& Position() { return placement().position; }
    const TGxCoordinates& Position() const { return place().position; }
    // Position, Direction, Up and Scale (and the angles) are made on the
    // first non-const access: until then they read as their defaults. Most
    // objects of a town are never moved, turned or scaled.
    TGxCoordinates& Direction() { return placement().direction; }
    const TGxCoordinates& Direction() const { return place().direction; }
    TGxCoordinates& Up() { return placement().up; }
    const TGxCoordinates& Up() const { return place().up; }
    TGxCoordinates& Scale() { return placement().scale; }
    const TGxCoordinates& Scale() const { return place().scale; }
    // Property assignment from another holder: a point for Position; a
    // vector for Direction and Up, ignored when the source is (0, 0, 0);
    // Scale copies the source.
    void SetPosition(const TGxCoordinates& source);
    void SetDirection(const TGxCoordinates& source);
    void SetUp(const TGxCoordinates& source);
    void SetScale(const TGxCoordinates& source);
    void Translate(float dx, float dy, float dz);

    // Degrees. Setting one turns Direction and Up by the difference (not
    // while loading) and stores the angle normalized to [-180, 180].
    float PitchAngle() const { return place().rotation.X(); }
    float TurnAngle() const { return place().rotation.Y(); }
    float RollAngle() const { return place().rotation.Z(); }
    void SetPitchAngle(float angle);
    void SetTurnAngle(float angle);
    void SetRollAngle(float angle);

    // Local X axis (Direction x Up), and its opposite (Up x Direction).
    TGxVector RightAxis() const;
    TGxVector LeftAxis() const;

    // Local matrix; world matrix (the scene roots' own transforms never
    // apply); its inverse.
    const TGxMatrix& ObjectMatrix() const;
    const TGxMatrix& WorldMatrix() const;
    const TGxMatrix& InvWorldMatrix() const;
    TGxVector WorldPosition() const;
    TGxVector WorldUp() const;
    TGxVector WorldDirection() const;
    TGxVector ToWorld(const TGxVector& v) const;
    TGxVector ToLocal(const TGxVector& v) const;

    // Moves this object on a sphere around `other` (degrees); keeps the
    // distance and Direction/Up; the pitch stays 0.025 rad away from the poles.
    void OrbitAround(const TGxBaseSceneObject* other, float pitchDelta, float turnDelta);

    // ---- Bounds ----
    virtual TGxVector HalfExtentsUnscaled() const;
    TGxVector HalfExtents() const;
    float BoundRadius() const;
    // The box of +-HalfExtents in world coordinates, and that box joined
    // with those of every descendant (the hierarchical culling test).
    TGxAABB WorldBoundingBox() const;
    TGxAABB HierarchicalWorldBoundingBox() const;
    // The box all of the object's own drawing lies in, in its local
    // coordinates before Scale; false when the class cannot tell. The pick
    // pass leaves out objects whose box misses the pick region; one that
    // cannot tell is always drawn.
    virtual bool GeometryBoundingBox(TGxAABB& box) const { return false; }
    // True when GeometryBoundingBox is known and lies outside the volume.
    bool GeometryOutsideFrustum(const TGxFrustum& frustum) const;
    virtual bool ContainsPoint(const TGxVector& point) const;
    // Default: the ray against the bounding sphere. On a hit, `point` is the
    // first hit in front of rayStart and `normal` the unit normal there.
    virtual bool RayHit(const TGxVector& rayStart, const TGxVector& rayVector,
                        TGxVector* point = nullptr, TGxVector* normal = nullptr) const;
    virtual TGxVector SortPosition() const { return WorldPosition(); }
    virtual bool NeedsBlending() const { return false; }

    // ---- Change notification ----
    virtual void BeginUpdate();
    virtual void EndUpdate();
    int UpdateCount() const { return m_updateCount; }
    void TransformDirty();
    virtual void GeometryDirty();
    void SignalChange() override;
    void CoordsChanged(TGxCoordinates* which) override;
    // An owned part (a material, a colour) changed. A colour held directly
    // by the object is part of its recorded geometry.
    void NotifyChange(IGxChangeListener* sender) override;
    // A part's recorded-geometry dependency changed (texture use, material link).
    void StructureChanged() override { GeometryDirty(); }
    TGxObjectChanges Changes() const { return m_changes; }

    // ---- Display properties ----
    bool Visible() const { return m_visible; }
    virtual void SetVisible(bool visible);
    bool ShowAxes() const { return m_showAxes; }
    void SetShowAxes(bool show);
    TGxObjectsSorting ObjectsSorting() const { return m_objectsSorting; }
    void SetObjectsSorting(TGxObjectsSorting sorting);
    TGxVisibilityCulling VisibilityCulling() const { return m_visibilityCulling; }
    void SetVisibilityCulling(TGxVisibilityCulling culling);
    TGxRenderFlags RenderFlags() const { return m_renderFlags; }
    void SetRenderFlags(TGxRenderFlags flags);
    float TagFloat() const { return m_tagFloat; }
    void SetTagFloat(float value) { m_tagFloat = value; }

    // ---- Progress ----
    // Children from the last to the first, then OnProgress(this, ...).
    void StepProgress(const TGxProgressTimes& times) override;
    TGxProgressEvent OnProgress;

    // ---- Rendering ----
    // Culls, places (the object's matrix on OpenGL's model-view stack),
    // names the object when picking, then RenderSelf.
    void Render(TRenderContextInfo& rci);
    // Own geometry (display list, or EmitGeometry directly for DrawEveryFrame
    // and while amalgamating), then the children.
    virtual void RenderSelf(TRenderContextInfo& rci, bool renderSelf, bool renderChildren);
    // The visible children first..last in the sorting order of the pass.
    virtual void RenderChildRange(int first, int last, TRenderContextInfo& rci);
    // Emits the object's geometry with OpenGL calls; empty here. It usually
    // runs while a display list is compiled: state it changes there must be
    // set with plain OpenGL calls, not through the state cache, which would
    // believe the change was made.
    virtual void EmitGeometry(TRenderContextInfo& rci) {}
    // The display list replaying EmitGeometry, compiled again after a
    // GeometryDirty (or when the current context cannot reach it).
    virtual unsigned ListHandle(TRenderContextInfo& rci);
    // The own geometry as triangles appended to `out` (x, y, z, nx, ny, nz
    // per vertex), exactly as EmitGeometry draws it, for a shared vertex
    // buffer; false when the class cannot give it so.
    virtual bool CaptureTriangles(std::vector<float>& out) const { return false; }
    // The normal EmitGeometry leaves current in OpenGL; false when it sets none.
    virtual bool TrailingNormal(TGxAffineVector& normal) const { return false; }
    // Releases this object's display list.
    virtual void DestroyHandle();
    // Releases the display lists of the whole subtree.
    void DestroyHandles();

protected:
    void Loaded() override;
    void ClearChange(TGxObjectChange change) { m_changes.Exclude(change); }
    // For the scene roots, which belong to their scene from birth.
    void InitSceneRoot(TGxScene* scene);
    // The own geometry as the base class draws it (list or direct).
    void DrawGeometry(TRenderContextInfo& rci);

private:
    friend class TGxPickIndex;
    friend class TGxGeometryBatch;

    // Tells the batch that holds this object what changed.
    void batchChanged(std::uint8_t change);
    void setScene(TGxScene* scene);
    void renumberChildren(int from);
    void invalidateWorldMatrices();
    void refreshMatrix() const;
    void rotateBy(const TGxVector& axis, float oldAngle, float newAngle);
    void freeCamerasBelow();
    void freeAllChildren();
    void checkCanAdopt(const TGxBaseSceneObject* child) const;

    struct Placement {
        explicit Placement(TGxCoordinatesUpdateAbleComponent* owner);
        TGxCoordinates position;
        TGxCoordinates direction;
        TGxCoordinates up;
        TGxCoordinates scale;
        TGxCoordinates rotation; // X pitch, Y turn, Z roll, in degrees
    };
    Placement& placement();
    const Placement& place() const;

    struct Matrices {
        TGxMatrix object; // valid unless the Transformation change is pending
        TGxMatrix world;
        TGxMatrix inverse;
    };
    Matrices& matrices() const;

    // Mutable: the matrices are caches filled behind the flags. They are
    // allocated on first need: most objects of a town sit where their
    // parent is and are only ever drawn, which needs no matrix at all.
    mutable std::unique_ptr<Matrices> m_matrices;
    std::unique_ptr<TGxListHandle> m_listHandle; // created on first use
    TGxGeometryBatch* m_batch = nullptr;          // the batch that draws it, if any
    std::uint32_t m_batchEntry = 0;
    TGxRenderFlags m_renderFlags;
    std::unique_ptr<Placement> m_placement; // null: all defaults
    mutable TGxObjectChanges m_changes;
    TGxBaseSceneObject* m_parent = nullptr;
    TGxScene* m_scene = nullptr;
    std::unique_ptr<std::vector<TGxBaseSceneObject*>> m_children;
    int m_indexInParent = -1;
    std::uint32_t m_pickEntry = 0; // the scene's pick index entry, 0 for none
    bool m_visible = true;
    bool m_isSceneRoot = false;
    bool m_showAxes = false;
    bool m_isCalculating = false;
    bool m_batchRefused = false; // a batch could not take it as it is
    int m_updateCount = 0;
    TGxObjectsSorting m_objectsSorting = osInherited;
    TGxVisibilityCulling m_visibilityCulling = vcInherited;
    float m_tagFloat = 0.0f;
};
