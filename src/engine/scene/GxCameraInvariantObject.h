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
    // camera's place (cimPosition) or the camera's orientation (cimOrientation),
    // where no bounds say where anything lands: nothing below is culled.
    void RenderSelf(TRenderContextInfo& rci, bool renderSelf, bool renderChildren) override;

private:
    TGxCameraInvarianceMode m_camInvarianceMode = cimNone;
};
