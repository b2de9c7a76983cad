#pragma once

#include "engine/scene/GxCustomSceneObject.h"

enum TGxCameraInvarianceMode { cimNone, cimPosition, cimOrientation };

// A material-less object that can keep its place or orientation relative to
// the camera (base of the dummy cube).
class TGxCameraInvariantObject : public TGxImmaterialSceneObject {
public:
    using TGxImmaterialSceneObject::TGxImmaterialSceneObject;
    std::string_view ClassName() const override { return "TGxCameraInvariantObject"; }

    TGxCameraInvarianceMode CamInvarianceMode() const { return m_camInvarianceMode; }
    void SetCamInvarianceMode(TGxCameraInvarianceMode mode)
    {
        if (mode == m_camInvarianceMode)
            return;
        m_camInvarianceMode = mode;
        SignalChange();
    }

    // cimNone draws as an immaterial object; the other modes draw from the
    // camera's place (cimPosition) or the camera's orientation (cimOrientation).
    void RenderSelf(TRenderContextInfo& rci, bool renderSelf, bool renderChildren) override;
    // Drawn relative to the camera, not where it stands: never culled by bounds.
    bool OutsideFrustum(const TGxFrustum& frustum) const override;

private:
    TGxCameraInvarianceMode m_camInvarianceMode = cimNone;
};
