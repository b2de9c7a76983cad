#pragma once

#include "engine/scene/GxSceneBuffer.h"

#include <QOpenGLWidget>
#include <QPoint>

#include <functional>

class QPainter;

// The map view: a window control that owns a scene buffer and shows its
// camera's scene. Frames are drawn only when the view is invalidated, which
// every change of the scene does; the after-render hook runs once the frame
// is in the view, with a painter open on it for overlays.
class TGxSceneViewer : public QOpenGLWidget {
    Q_OBJECT
public:
    explicit TGxSceneViewer(QWidget* parent = nullptr);
    ~TGxSceneViewer() override;

    TGxSceneBuffer& Buffer() { return m_buffer; }
    const TGxSceneBuffer& Buffer() const { return m_buffer; }
    TGxCamera* Camera() const { return m_buffer.Camera(); }
    void SetCamera(TGxCamera* camera) { m_buffer.SetCamera(camera); }
    // Asks for a swap interval of 1 (vsmSync) or 0; takes effect with the next context.
    TGxVSyncMode VSync() const { return m_buffer.VSync(); }
    void SetVSync(TGxVSyncMode mode);
    // Field of view (degrees) across the view's smaller side.
    float FieldOfView() const;
    void SetFieldOfView(float degrees);

    // Renders the view once into the bitmap (its size, `dpi` dots per inch,
    // 0: the bitmap's own); the window's picture stays as it is.
    void SnapshotToBitmap(QImage& bitmap, int dpi);

    // The scene changed and the view asked for a frame.
    std::function<void()> OnSceneChange;
    // Called after each shown frame with a painter open on the view.
    std::function<void(TGxSceneViewer&, QPainter&)> AfterRender;
    // Mouse events, view pixels (origin top left).
    std::function<void(Qt::MouseButton, Qt::KeyboardModifiers, int x, int y)> OnMouseDown;
    std::function<void(Qt::MouseButton, Qt::KeyboardModifiers, int x, int y)> OnMouseUp;
    std::function<void(Qt::KeyboardModifiers, int x, int y)> OnMouseMove;
    // The menu key or Shift+F10 asked for a context menu (a mouse's request
    // is left to OnMouseDown and OnMouseUp, the right button also orbiting).
    std::function<void()> OnMenuKey;
    std::function<void()> OnMouseEnter;
    std::function<void()> OnMouseLeave;

    // True between the first frame and the loss of the context.
    bool HasContext() const { return m_buffer.RenderingContext() != nullptr; }

protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    class WidgetContext;
    void contextLost();

    TGxSceneBuffer m_buffer;
    bool m_painting = false;
    bool m_mouseInside = false;
};
