#include "engine/scene/GxCamera.h"

#include "base/GxException.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>

TGxCamera::TGxCamera(TGxComponent* owner) : TGxBaseSceneObject(owner)
{
    Direction().SetSilently(VectorMake(0, 0, -1, 0));
}

TGxCamera::~TGxCamera()
{
    if (m_targetObject)
        m_targetObject->RemoveFreeNotification(this);
    m_targetObject = nullptr;
}

void TGxCamera::Notification(TGxComponent* component, TGxOperation operation)
{
    if (operation == opRemove && component == m_targetObject)
        m_targetObject = nullptr;
    TGxBaseSceneObject::Notification(component, operation);
}

void TGxCamera::SetFocalLength(float value)
{
    if (value <= 0.0f)
        value = 1.0f;
    if (value == m_focalLength)
        return;
    m_focalLength = value;
    if (!IsLoading())
        TransformDirty();
}

void TGxCamera::SetDepthOfView(float value)
{
    if (value == m_depthOfView)
        return;
    m_depthOfView = value;
    if (!IsLoading())
        TransformDirty();
}

void TGxCamera::SetNearPlaneBias(float value)
{
    if (value <= 0.0f)
        value = 1.0f;
    if (value == m_nearPlaneBias)
        return;
    m_nearPlaneBias = value;
    SignalChange();
}

void TGxCamera::SetSceneScale(float value)
{
    if (value == 0.0f)
        value = 1.0f;
    if (value == m_sceneScale)
        return;
    m_sceneScale = value;
    SignalChange();
}

void TGxCamera::SetCameraStyle(TGxCameraStyle style)
{
    if (style == m_cameraStyle)
        return;
    m_cameraStyle = style;
    SignalChange();
}

void TGxCamera::SetTargetObject(TGxBaseSceneObject* target)
{
    if (target == m_targetObject)
        return;
    if (m_targetObject)
        m_targetObject->RemoveFreeNotification(this);
    m_targetObject = target;
    if (m_targetObject)
        m_targetObject->FreeNotification(this);
    if (!IsLoading())
        TransformDirty();
}

TGxCameraLookAt TGxCamera::LookAt() const
{
    const TGxVector eye = WorldPosition();
    if (m_targetObject)
        return {eye, m_targetObject->WorldPosition(), Up().Vector4()};
    // The roots' own transforms never apply, as for WorldMatrix.
    const TGxMatrix m = (Parent() && !Parent()->IsSceneRoot()) ? Parent()->WorldMatrix() : IdentityMatrix();
    const TGxVector d = VectorTransform(Direction().Vector4(), m);
    const TGxVector u = VectorTransform(Up().Vector4(), m);
    return {eye, VectorAdd(eye, d), u};
}

void TGxCamera::ApplyView()
{
    if (CustomApplyView) {
        CustomApplyView(this);
    } else {
        const TGxCameraLookAt view = LookAt();
        m_lastViewDirection = VectorNormalize(VectorSubtract(view.Centre, view.Eye));
        m_lastViewDirection.W = 0.0f;
        gluLookAt(view.Eye.X, view.Eye.Y, view.Eye.Z, view.Centre.X, view.Centre.Y, view.Centre.Z,
                  view.Up.X, view.Up.Y, view.Up.Z);
    }
    ClearChange(TGxObjectChange::Structure);
}

TGxCameraFrustum TGxCamera::Frustum(const TGxRectangle& viewport, int width, int height, int dpi) const
{
    const double w = width, h = height;
    const double m = std::max(w, h);
    double fx, fy;
    if (m_cameraStyle == csOrthogonal) {
        fx = 100.0 * m_nearPlaneBias / (w * m_focalLength * m_sceneScale);
        fy = 100.0 * m_nearPlaneBias / (h * m_focalLength * m_sceneScale);
    } else {
        fx = m_nearPlaneBias / (w * m_sceneScale);
        fy = m_nearPlaneBias / (h * m_sceneScale);
    }
    TGxCameraFrustum f;
    f.Right = w * (2.0 * viewport.Left + 2.0 * viewport.Width - w) * fx / (2.0 * m);
    f.Left = -w * (w - 2.0 * viewport.Left) * fx / (2.0 * m);
    f.Top = h * (2.0 * viewport.Top + 2.0 * viewport.Height - h) * fy / (2.0 * m);
    f.Bottom = -h * (h - 2.0 * viewport.Top) * fy / (2.0 * m);
    f.NearPlane = float(m_focalLength * 2.0 * dpi / (25.4 * m) * m_nearPlaneBias);
    f.FarPlane = f.NearPlane + m_depthOfView;
    return f;
}

TGxMatrix TGxCamera::InfinitePerspectiveMatrix(const TGxCameraFrustum& f)
{
    constexpr double epsilon = 0.0001;
    const double n = f.NearPlane;
    TGxMatrix m = IdentityMatrix();
    m.M[0][0] = float(2 * n / (f.Right - f.Left));
    m.M[1][1] = float(2 * n / (f.Top - f.Bottom));
    m.M[2][0] = float((f.Right + f.Left) / (f.Right - f.Left));
    m.M[2][1] = float((f.Top + f.Bottom) / (f.Top - f.Bottom));
    m.M[2][2] = float(epsilon - 1);
    m.M[2][3] = -1.0f;
    m.M[3][2] = float((epsilon - 2) * n);
    m.M[3][3] = 0.0f;
    return m;
}

void TGxCamera::ApplyProjection(const TGxRectangle& viewport, int width, int height, int dpi)
{
    if (width < 1 || height < 1)
        return;
    const float halfDiagonal = float(std::sqrt(double(width) * width + double(height) * height) / 2.0);
    if (m_cameraStyle == csOrtho2D) {
        gluOrtho2D(0, width, 0, height);
        m_nearPlane = -1.0f;
        m_viewPortRadius = halfDiagonal;
        return;
    }
    if (m_cameraStyle == csCustom) {
        m_viewPortRadius = halfDiagonal;
        if (OnCustomPerspective)
            OnCustomPerspective(viewport, width, height, dpi, m_viewPortRadius);
        return;
    }
    const TGxCameraFrustum f = Frustum(viewport, width, height, dpi);
    m_nearPlane = f.NearPlane;
    switch (m_cameraStyle) {
    case csPerspective:
        glFrustum(f.Left, f.Right, f.Bottom, f.Top, f.NearPlane, f.FarPlane);
        break;
    case csOrthogonal:
        glOrtho(f.Left, f.Right, f.Bottom, f.Top, f.NearPlane, f.FarPlane);
        break;
    case csInfinitePerspective:
        glMultMatrixf(InfinitePerspectiveMatrix(f).data());
        break;
    default:
        gxAssert(false, "Unknown camera style");
    }
    m_viewPortRadius = float(std::sqrt(f.Right * f.Right + f.Top * f.Top) / f.NearPlane);
}

void TGxCamera::OrbitTarget(float pitchDelta, float turnDelta)
{
    if (m_targetObject)
        OrbitAround(m_targetObject, pitchDelta, turnDelta);
}

void TGxCamera::ScaleTargetDistance(float ratio)
{
    if (!m_targetObject)
        return;
    const TGxVector t = m_targetObject->WorldPosition();
    const TGxVector p = WorldPosition();
    TGxVector v = VectorAdd(VectorScale(VectorSubtract(p, t), ratio - 1.0f), p);
    if (Parent())
        v = Parent()->ToLocal(v);
    Position().SetVector4(v);
}

float TGxCamera::GetFieldOfView(float viewportDimension) const
{
    if (m_focalLength == 0.0f)
        return 0.0f;
    return RadToDeg(2.0f * std::atan((viewportDimension / 2.0f) / m_focalLength));
}

void TGxCamera::SetFieldOfView(float fieldOfView, float viewportDimension)
{
    SetFocalLength(viewportDimension / (2.0f * std::tan(DegToRad(fieldOfView / 2.0f))));
}

void TGxCamera::RenderSelf(TRenderContextInfo& rci, bool renderSelf, bool renderChildren)
{
    if (renderChildren && Count() > 0)
        RenderChildRange(0, Count() - 1, rci);
}

bool TGxCamera::RayHit(const TGxVector&, const TGxVector&, TGxVector*, TGxVector*) const
{
    return false;
}
