#pragma once

#include "engine/scene/GxCamera.h"
#include "engine/scene/GxRenderingContext.h"
#include "engine/scene/GxScene.h"
#include "engine/scene/GxSceneBuffer.h"

#include <QColor>
#include <QImage>

// A scene drawn off-screen through the real buffer and traversal. The camera
// stands at (0, 0, 10) looking at the origin along -Z with Y up; the
// background is white; lighting is off, so objects show their materials'
// diffuse colours.
class OffscreenScene {
public:
    explicit OffscreenScene(int width = 64, int height = 64);

    TGxScene scene;
    TGxCamera* camera = nullptr;
    TGxSceneBuffer buffer;

    TGxBaseSceneObject* root() { return scene.ObjectRoot(); }
    TGxOffscreenRenderingContext& context();
    // One frame.
    void render() { buffer.Render(); }
    // RGBA of a pixel, OpenGL window coordinates (origin bottom left).
    QColor pixel(int x, int y);
    QImage image() { return context().Image(); }
};
