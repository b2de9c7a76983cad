#pragma once

#include "engine/scene/GxBaseSceneObject.h"

#include <functional>

enum TGxCameraStyle { csPerspective, csOrthogonal, csOrtho2D, csCustom, csInfinitePerspective };

// A viewport in pixels.
struct TGxRectangle {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

// The six numbers of a frustum or orthographic box, as the projection
// computes them for the current lens settings.
struct TGxCameraFrustum {
    double Left = 0, Right = 0, Bottom = 0, Top = 0;
    float NearPlane = 0, FarPlane = 0;
};

// What the view transform looks from, at and with.
struct TGxCameraLookAt {
    TGxVector Eye, Centre, Up;
};

// (viewport, width, height, dpi, viewport radius to set) for csCustom.
using TGxCustomPerspectiveEvent =
    std::function<void(const TGxRectangle& viewport, int width, int height, int dpi, float& viewPortRadius)>;

// The object a viewer looks through. Its place in the tree gives the view
// transform (towards TargetObject when it has one, else along Direction);
// its lens properties give the projection.
class TGxCamera : public TGxBaseSceneObject {
public:
    explicit TGxCamera(TGxComponent* owner);
    ~TGxCamera() override;
    std::string_view ClassName() const override { return "TGxCamera"; }
    TGxCamera* AsCamera() override { return this; }

    // Millimetres; a value <= 0 becomes 1.
    float FocalLength() const { return m_focalLength; }
    void SetFocalLength(float value);
    // Distance from the near to the far plane.
    float DepthOfView() const { return m_depthOfView; }
    void SetDepthOfView(float value);
    // A value <= 0 becomes 1.
    float NearPlaneBias() const { return m_nearPlaneBias; }
    void SetNearPlaneBias(float value);
    // 0 becomes 1.
    float SceneScale() const { return m_sceneScale; }
    void SetSceneScale(float value);
    TGxCameraStyle CameraStyle() const { return m_cameraStyle; }
    void SetCameraStyle(TGxCameraStyle style);
    // Not owned; forgotten when it is freed.
    TGxBaseSceneObject* TargetObject() const { return m_targetObject; }
    void SetTargetObject(TGxBaseSceneObject* target);

    // Computed by ApplyProjection: the near-plane distance (-1 for
    // csOrtho2D) and the half diagonal of the near-plane window over it.
    float NearPlane() const { return m_nearPlane; }
    float ViewPortRadius() const { return m_viewPortRadius; }
    // Computed by ApplyView: unit length.
    const TGxVector& LastViewDirection() const { return m_lastViewDirection; }

    // Loads the view transform into the current (model-view, identity) matrix.
    void ApplyView();
    // Multiplies the current (projection) matrix by this camera's
    // projection; a viewport with no width or height leaves it alone.
    void ApplyProjection(const TGxRectangle& viewport, int width, int height, int dpi);

    // What ApplyView loads.
    TGxCameraLookAt LookAt() const;
    // What ApplyProjection uses for csPerspective, csOrthogonal and
    // csInfinitePerspective (width and height at least 1).
    TGxCameraFrustum Frustum(const TGxRectangle& viewport, int width, int height, int dpi) const;
    // The csInfinitePerspective matrix for a frustum.
    static TGxMatrix InfinitePerspectiveMatrix(const TGxCameraFrustum& frustum);

    // OrbitAround the target (degrees); nothing without one.
    void OrbitTarget(float pitchDelta, float turnDelta);
    // Camera := target + (camera - target) * ratio; nothing without a target.
    void ScaleTargetDistance(float ratio);
    // Degrees across a viewport dimension in pixels.
    float GetFieldOfView(float viewportDimension) const;
    void SetFieldOfView(float fieldOfView, float viewportDimension);

    TGxCustomPerspectiveEvent OnCustomPerspective;
    // When set, called instead of the built-in view transform.
    std::function<void(TGxCamera* camera)> CustomApplyView;

    // A camera draws nothing itself, and rays pass through it.
    void RenderSelf(TRenderContextInfo& rci, bool renderSelf, bool renderChildren) override;
    bool RayHit(const TGxVector& rayStart, const TGxVector& rayVector, TGxVector* point = nullptr,
                TGxVector* normal = nullptr) const override;

protected:
    void Notification(TGxComponent* component, TGxOperation operation) override;

private:
    float m_focalLength = 50.0f;
    float m_depthOfView = 100.0f;
    float m_nearPlane = 0.0f;
    float m_nearPlaneBias = 1.0f;
    float m_viewPortRadius = 0.0f;
    TGxBaseSceneObject* m_targetObject = nullptr;
    TGxVector m_lastViewDirection = VectorMake(0, 0, -1, 0);
    TGxCameraStyle m_cameraStyle = csPerspective;
    float m_sceneScale = 1.0f;
};
