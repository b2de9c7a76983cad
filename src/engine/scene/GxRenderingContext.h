#pragma once

#include <QSize>
#include <QSurfaceFormat>

#include <memory>

class QImage;
class QOffscreenSurface;
class QOpenGLContext;
class QOpenGLFramebufferObject;

// The OpenGL context a buffer draws with, bound to what it draws on (a
// window's framebuffer, an off-screen one). Activation nests: only the
// outermost Activate/Deactivate pair reaches the platform.
class TGxRenderingContext {
public:
    virtual ~TGxRenderingContext() = default;

    // Current, with its framebuffer bound.
    void Activate();
    void Deactivate();
    bool Active() const { return m_activations > 0; }

    // Presents the back buffer where the platform leaves that to us.
    virtual void SwapBuffers() {}
    // The swap interval in force; -1 when it cannot be controlled.
    virtual int SwapInterval() const { return -1; }
    // Returns false when the platform cannot change it now.
    virtual bool SetSwapInterval(int interval) { return false; }

    virtual QOpenGLContext* GLContext() const = 0;

protected:
    virtual void MakeCurrent() = 0;
    virtual void DoneCurrent() = 0;

private:
    int m_activations = 0;
};

// Activates a context for a scope.
class TGxContextActivation {
public:
    explicit TGxContextActivation(TGxRenderingContext& context) : m_context(context) { m_context.Activate(); }
    ~TGxContextActivation() { m_context.Deactivate(); }
    TGxContextActivation(const TGxContextActivation&) = delete;
    TGxContextActivation& operator=(const TGxContextActivation&) = delete;

private:
    TGxRenderingContext& m_context;
};

// A context of its own drawing into a framebuffer object: for benchmarks,
// tests and pictures that never reach the screen. It shares lists and
// textures with Qt's global share context when the application has one.
// Construction fails with "Failed to create RenderingContext." when no
// context or framebuffer can be made.
class TGxOffscreenRenderingContext : public TGxRenderingContext {
public:
    TGxOffscreenRenderingContext(int width, int height, const QSurfaceFormat& format = QSurfaceFormat::defaultFormat());
    ~TGxOffscreenRenderingContext() override;

    QSize Size() const { return m_size; }
    // A new framebuffer of that size (the picture is lost).
    void Resize(int width, int height);
    // The framebuffer's pixels, top row first, alpha kept.
    QImage Image();

    QOpenGLContext* GLContext() const override { return m_context.get(); }

protected:
    void MakeCurrent() override;
    void DoneCurrent() override;

private:
    void createFramebuffer();

    QSize m_size;
    int m_samples = 0;
    std::unique_ptr<QOffscreenSurface> m_surface;
    std::unique_ptr<QOpenGLContext> m_context;
    std::unique_ptr<QOpenGLFramebufferObject> m_fbo;
};
