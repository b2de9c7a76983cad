#include "engine/scene/GxSceneViewer.h"

#include "engine/scene/GxFlagScope.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QPainter>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

// The widget's own context, with the widget's framebuffer bound while active.
// Inside paintGL the widget has made it current already and finishes the
// frame itself, so the release is left to it.
class TGxSceneViewer::WidgetContext : public TGxRenderingContext {
public:
    explicit WidgetContext(TGxSceneViewer& view) : m_view(view) {}

    QOpenGLContext* GLContext() const override { return m_view.context(); }
    int SwapInterval() const override { return m_view.format().swapInterval(); }

protected:
    void MakeCurrent() override { m_view.makeCurrent(); }
    void DoneCurrent() override
    {
        if (!m_view.m_painting)
            m_view.doneCurrent();
    }

private:
    TGxSceneViewer& m_view;
};

TGxSceneViewer::TGxSceneViewer(QWidget* parent) : QOpenGLWidget(parent)
{
    resize(100, 100);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFormat(m_buffer.SurfaceFormat());
    m_buffer.OnChange = [this] {
        if (m_buffer.Rendering())
            return;
        update();
        if (OnSceneChange)
            OnSceneChange();
    };
    m_buffer.OnStructuralChange = [this] {
        // The pixel format is fixed with the context: the next context gets the new wishes.
        setFormat(m_buffer.SurfaceFormat());
        update();
    };
}

TGxSceneViewer::~TGxSceneViewer()
{
    // QOpenGLWidget's destructor frees the context after this one has run:
    // its signal must not reach contextLost on a half-destroyed viewer.
    if (QOpenGLContext* own = context())
        disconnect(own, nullptr, this, nullptr);
    if (HasContext()) {
        makeCurrent();
        m_buffer.DestroyRC();
        doneCurrent();
    }
}

void TGxSceneViewer::SetVSync(TGxVSyncMode mode)
{
    m_buffer.SetVSync(mode);
    if (!HasContext())
        setFormat(m_buffer.SurfaceFormat());
}

float TGxSceneViewer::FieldOfView() const
{
    const TGxCamera* camera = m_buffer.Camera();
    if (!camera)
        return 0.0f;
    return camera->GetFieldOfView(float(std::min(width(), height())));
}

void TGxSceneViewer::SetFieldOfView(float degrees)
{
    if (TGxCamera* camera = m_buffer.Camera())
        camera->SetFieldOfView(degrees, float(std::min(width(), height())));
}

void TGxSceneViewer::SnapshotToBitmap(QImage& bitmap, int dpi)
{
    m_buffer.SnapshotToBitmap(bitmap, dpi);
    // The overlays are the window's: the next frame paints them again.
    update();
}

void TGxSceneViewer::initializeGL()
{
    // A new top-level window gives the view a new context: the old one's
    // lists and textures go with it.
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &TGxSceneViewer::contextLost,
            Qt::UniqueConnection);
    TGxFlagScope painting(m_painting);
    m_buffer.Resize(std::max(width(), 1), std::max(height(), 1));
    m_buffer.CreateRC(std::make_unique<WidgetContext>(*this));
}

void TGxSceneViewer::contextLost()
{
    if (!HasContext())
        return;
    makeCurrent();
    TGxFlagScope painting(m_painting);
    m_buffer.DestroyRC();
}

void TGxSceneViewer::resizeGL(int width, int height)
{
    m_buffer.Resize(std::max(width, 1), std::max(height, 1));
}

void TGxSceneViewer::moveEvent(QMoveEvent* event)
{
    QOpenGLWidget::moveEvent(event);
    update();
}

void TGxSceneViewer::paintGL()
{
    if (width() < 1 || height() < 1 || !HasContext())
        return;
    {
        TGxFlagScope painting(m_painting);
        // The widget's own hook is called below with a painter; the buffer's
        // stays free for other users.
        m_buffer.Render(nullptr);
    }
    if (AfterRender) {
        // Fixed-function state of the frame that would cull or hide what
        // the painter draws; the next frame sets all of it again.
        glDisable(GL_CULL_FACE);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_ALPHA_TEST);
        glDisable(GL_LIGHTING);
        glDisable(GL_FOG);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_BLEND);
        {
            QPainter painter(this);
            AfterRender(*this, painter);
        }
        TGxSceneBuffer::MakeAlphaOpaque(); // the painter's text is blended
    }
}

void TGxSceneViewer::mousePressEvent(QMouseEvent* event)
{
    QOpenGLWidget::mousePressEvent(event);
    if (OnMouseDown) {
        const QPoint at = event->position().toPoint();
        OnMouseDown(event->button(), event->modifiers(), at.x(), at.y());
    }
}

void TGxSceneViewer::mouseReleaseEvent(QMouseEvent* event)
{
    QOpenGLWidget::mouseReleaseEvent(event);
    if (OnMouseUp) {
        const QPoint at = event->position().toPoint();
        OnMouseUp(event->button(), event->modifiers(), at.x(), at.y());
    }
}

void TGxSceneViewer::contextMenuEvent(QContextMenuEvent* event)
{
    if (event->reason() == QContextMenuEvent::Mouse || !OnMenuKey) {
        event->ignore();
        return;
    }
    OnMenuKey();
    event->accept();
}

void TGxSceneViewer::mouseMoveEvent(QMouseEvent* event)
{
    QOpenGLWidget::mouseMoveEvent(event);
    if (OnMouseMove) {
        const QPoint at = event->position().toPoint();
        OnMouseMove(event->modifiers(), at.x(), at.y());
    }
}

void TGxSceneViewer::enterEvent(QEnterEvent* event)
{
    QOpenGLWidget::enterEvent(event);
    m_mouseInside = true;
    if (OnMouseEnter)
        OnMouseEnter();
}

void TGxSceneViewer::leaveEvent(QEvent* event)
{
    QOpenGLWidget::leaveEvent(event);
    m_mouseInside = false;
    if (OnMouseLeave)
        OnMouseLeave();
}
