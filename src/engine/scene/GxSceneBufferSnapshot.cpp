#define GL_GLEXT_PROTOTYPES 1

#include "engine/scene/GxSceneBuffer.h"

#include "base/GxException.h"
#include "engine/scene/GxFlagScope.h"

#include <QImage>
#include <QOpenGLFramebufferObject>

#include <GL/gl.h>
#include <GL/glext.h>

#include <cmath>

namespace {

// Puts back, on every way out, what a snapshot changes of the buffer and
// of the context it borrows.
class SnapshotRestore {
public:
    SnapshotRestore(TGxRectangle& viewport, GLint framebuffer, std::function<void()> restore)
        : m_viewport(viewport), m_kept(viewport), m_framebuffer(framebuffer), m_restore(std::move(restore))
    {
    }
    ~SnapshotRestore()
    {
        m_viewport = m_kept;
        glBindFramebuffer(GL_FRAMEBUFFER, GLuint(m_framebuffer));
        glViewport(0, 0, m_kept.Width, m_kept.Height);
        m_restore();
    }
    SnapshotRestore(const SnapshotRestore&) = delete;
    SnapshotRestore& operator=(const SnapshotRestore&) = delete;

private:
    TGxRectangle& m_viewport;
    TGxRectangle m_kept;
    GLint m_framebuffer;
    std::function<void()> m_restore;
};

int bitmapDpi(const QImage& bitmap)
{
    const int dpi = int(std::lround(bitmap.dotsPerMeterX() * 0.0254));
    return dpi > 0 ? dpi : 96;
}

} // namespace

void TGxSceneBuffer::SnapshotToBitmap(QImage& bitmap, int dpi)
{
    gxAssert(!m_rendering, "Already rendering");
    if (bitmap.isNull())
        return;
    {
        TGxFlagScope rendering(m_rendering);
        if (!m_rc)
            throw EGxError("Failed to create RenderingContext.");
        const int width = bitmap.width();
        const int height = bitmap.height();
        const int resolution = dpi != 0 ? dpi : bitmapDpi(bitmap);
        TGxColor background(nullptr);
        background.SetWinColor(m_backgroundColor);

        TGxContextActivation active(*m_rc);
        GLint previousFramebuffer = 0;
        glGetIntegerv(GL_FRAMEBUFFER_BINDING, &previousFramebuffer);
        // The window's frame is not touched: its lists and textures belong to
        // this very context, and the picture is drawn beside it.
        QOpenGLFramebufferObjectFormat format;
        format.setAttachment(QOpenGLFramebufferObject::CombinedDepthStencil);
        format.setSamples(0);
        QOpenGLFramebufferObject framebuffer(width, height, format);
        if (!framebuffer.isValid())
            throw EGxError("Failed to create RenderingContext.");

        // A pick or a projection right after the snapshot still sees the
        // window's matrices and resolution: a pick builds its projection from
        // the resolution, and at a printer's the near plane lies far off.
        const TGxMatrix base = m_baseProjectionMatrix, projection = m_projectionMatrix, modelView = m_modelViewMatrix;
        const TGxVector cameraPosition = m_cameraAbsolutePosition;
        const int renderDPI = m_renderDPI;
        SnapshotRestore restore(m_viewport, previousFramebuffer, [&] {
            m_baseProjectionMatrix = base;
            m_projectionMatrix = projection;
            m_modelViewMatrix = modelView;
            m_cameraAbsolutePosition = cameraPosition;
            m_renderDPI = renderDPI;
            m_stateCache.Invalidate();
        });
        framebuffer.bind();
        ClearOpenGLErrors();
        ResetForeignState();
        m_stateCache.Invalidate();
        PrepareGLState();
        glViewport(0, 0, width, height);
        glClearColor(background.Red(), background.Green(), background.Blue(), 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        CheckOpenGLError();

        m_renderDPI = resolution;
        m_viewport = {0, 0, width, height};
        RenderScene(m_viewport, resolution, dsPrinting, nullptr);
        MakeAlphaOpaque();
        glFinish();
        CheckOpenGLError();

        QImage picture = framebuffer.toImage(true).convertToFormat(bitmap.format());
        picture.setDotsPerMeterX(bitmap.dotsPerMeterX());
        picture.setDotsPerMeterY(bitmap.dotsPerMeterY());
        bitmap = std::move(picture);
    }
    if (AfterRender)
        AfterRender(this);
}
