#include "navigation/MapInput.h"

#include "engine/scene/GxSceneBuffer.h"

#include <QCursor>
#include <QWidget>

QPoint ViewPointer::PointerPosition() const
{
    if (!m_view->isVisible())
        return {-1, -1};
    return m_view->mapFromGlobal(QCursor::pos());
}

QSize ViewPointer::ViewSize() const
{
    return m_view->size();
}

MapCursor ViewPointer::Cursor() const
{
    switch (m_view->cursor().shape()) {
    case Qt::BlankCursor: return MapCursor::Blank;
    case Qt::PointingHandCursor: return MapCursor::Hand;
    default: return MapCursor::Default;
    }
}

void ViewPointer::SetCursor(MapCursor cursor)
{
    const Qt::CursorShape shape = cursor == MapCursor::Blank  ? Qt::BlankCursor
                                  : cursor == MapCursor::Hand ? Qt::PointingHandCursor
                                                              : Qt::ArrowCursor;
    // Every frame sets it; the window system hears only of changes.
    if (m_view->cursor().shape() != shape)
        m_view->setCursor(shape);
}

TGxBaseSceneObject* SceneBufferPicker::ObjectAtPixel(int x, int y)
{
    ++m_picks;
    return m_buffer.ObjectAtPixel(x, y);
}

bool SceneBufferPicker::PixelOnGroundPlane(const TGxVector& windowPoint, float height, TGxVector& point)
{
    return m_buffer.PixelOnGroundPlane(windowPoint, height, point);
}
