#include "OffscreenGl.h"

#include <GL/gl.h>

OffscreenGl::OffscreenGl(int width, int height) : m_width(width), m_height(height)
{
    m_surface.setFormat(QSurfaceFormat::defaultFormat());
    m_surface.create();
    m_context.setFormat(QSurfaceFormat::defaultFormat());
    if (!m_context.create() || !m_context.makeCurrent(&m_surface))
        return;
    QOpenGLFramebufferObjectFormat format;
    format.setAttachment(QOpenGLFramebufferObject::CombinedDepthStencil);
    m_fbo = std::make_unique<QOpenGLFramebufferObject>(width, height, format);
    m_fbo->bind();
    glViewport(0, 0, width, height);
}

OffscreenGl::~OffscreenGl()
{
    if (m_context.makeCurrent(&m_surface)) {
        m_fbo.reset();
        m_context.doneCurrent();
    }
}

void OffscreenGl::makeCurrent()
{
    m_context.makeCurrent(&m_surface);
    if (m_fbo)
        m_fbo->bind();
}

QImage OffscreenGl::image()
{
    makeCurrent();
    return m_fbo->toImage(false);
}

QColor OffscreenGl::pixel(int x, int y)
{
    makeCurrent();
    unsigned char rgba[4] = {};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return QColor(rgba[0], rgba[1], rgba[2], rgba[3]);
}
