#pragma once

#include <QImage>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <memory>

// A current OpenGL compatibility context with a framebuffer object of the
// given size bound, for tests that draw and read pixels back.
class OffscreenGl {
public:
    explicit OffscreenGl(int width = 64, int height = 64);
    ~OffscreenGl();

    bool isValid() const { return m_fbo != nullptr; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    void makeCurrent();
    // The framebuffer's pixels, top row first.
    QImage image();
    // RGBA of one pixel in OpenGL window coordinates (origin bottom left).
    QColor pixel(int x, int y);

private:
    int m_width;
    int m_height;
    QOffscreenSurface m_surface;
    QOpenGLContext m_context;
    std::unique_ptr<QOpenGLFramebufferObject> m_fbo;
};
