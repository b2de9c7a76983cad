#pragma once

#include "engine/scene/GxScene.h"

// Holds back the scene's change notifications while it lives: a change of
// many objects at once reaches the buffers as one, when the outermost ends.
class TGxSceneUpdate {
public:
    explicit TGxSceneUpdate(TGxScene& scene) : m_scene(scene) { m_scene.BeginUpdate(); }
    ~TGxSceneUpdate() { m_scene.EndUpdate(); }
    TGxSceneUpdate(const TGxSceneUpdate&) = delete;
    TGxSceneUpdate& operator=(const TGxSceneUpdate&) = delete;

private:
    TGxScene& m_scene;
};
