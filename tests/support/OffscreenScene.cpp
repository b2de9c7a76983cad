#include "OffscreenScene.h"

#include <GL/gl.h>

OffscreenScene::OffscreenScene(int width, int height)
{
    camera = scene.CameraRoot()->SpawnChild<TGxCamera>();
    camera->Position().AssignPoint(0, 0, 10);
    camera->Direction().AssignVector(0, 0, -1);
    camera->Up().AssignVector(0, 1, 0);
    buffer.SetCamera(camera);
    buffer.SetBackgroundColor(clWhite);
    buffer.SetLighting(false);
    buffer.Resize(width, height);
    buffer.CreateRC(std::make_unique<TGxOffscreenRenderingContext>(width, height, buffer.SurfaceFormat()));
}

TGxOffscreenRenderingContext& OffscreenScene::context()
{
    return static_cast<TGxOffscreenRenderingContext&>(*buffer.RenderingContext());
}

QColor OffscreenScene::pixel(int x, int y)
{
    TGxContextActivation active(context());
    unsigned char rgba[4] = {};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return QColor(rgba[0], rgba[1], rgba[2], rgba[3]);
}
