#include "engine/scene/GxRenderingContext.h"

#include "base/GxException.h"
#include "engine/scene/GxListHandle.h"

#include <QImage>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>

#include <algorithm>

void TGxRenderingContext::Activate()
{
    if (m_activations == 0) {
        MakeCurrent();
        // Lists released while no context of this group was current.
        TGxListHandle::DeletePendingLists();
    }
    ++m_activations;
}

void TGxRenderingContext::Deactivate()
{
    if (m_activations == 0)
        return;
    if (--m_activations == 0)
        DoneCurrent();
}

TGxOffscreenRenderingContext::TGxOffscreenRenderingContext(int width, int height, const QSurfaceFormat& format)
    : m_size(std::max(width, 1), std::max(height, 1)), m_samples(std::max(format.samples(), 0))
{
    m_surface = std::make_unique<QOffscreenSurface>();
    m_surface->setFormat(format);
    m_surface->create();
    m_context = std::make_unique<QOpenGLContext>();
    m_context->setFormat(format);
    if (QOpenGLContext* share = QOpenGLContext::globalShareContext())
        m_context->setShareContext(share);
    if (!m_surface->isValid() || !m_context->create() || !m_context->makeCurrent(m_surface.get()))
        throw EGxError("Failed to create RenderingContext.");
    createFramebuffer();
    m_context->doneCurrent();
}

TGxOffscreenRenderingContext::~TGxOffscreenRenderingContext()
{
    if (m_context && m_context->makeCurrent(m_surface.get())) {
        m_fbo.reset();
        m_context->doneCurrent();
    }
}

void TGxOffscreenRenderingContext::createFramebuffer()
{
    QOpenGLFramebufferObjectFormat format;
    format.setAttachment(QOpenGLFramebufferObject::CombinedDepthStencil);
    format.setSamples(m_samples);
    m_fbo.reset();
    m_fbo = std::make_unique<QOpenGLFramebufferObject>(m_size, format);
    if (!m_fbo->isValid()) {
        m_fbo.reset();
        throw EGxError("Failed to create RenderingContext.");
    }
}

void TGxOffscreenRenderingContext::Resize(int width, int height)
{
    const QSize size(std::max(width, 1), std::max(height, 1));
    if (size == m_size)
        return;
    m_size = size;
    TGxContextActivation active(*this);
    createFramebuffer();
    m_fbo->bind();
}

QImage TGxOffscreenRenderingContext::Image()
{
    TGxContextActivation active(*this);
    return m_fbo->toImage(false);
}

void TGxOffscreenRenderingContext::MakeCurrent()
{
    if (!m_context->makeCurrent(m_surface.get()))
        throw EGxError("Failed to create RenderingContext.");
    if (m_fbo)
        m_fbo->bind();
}

void TGxOffscreenRenderingContext::DoneCurrent()
{
    m_context->doneCurrent();
}
