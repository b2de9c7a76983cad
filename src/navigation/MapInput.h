#pragma once

#include "engine/scene/VectorGeometry.h"
#include "platform/KeyState.h"

#include <QPoint>
#include <QSize>

class QWidget;
class TGxBaseSceneObject;
class TGxSceneBuffer;

// The pointer shapes of the map view: the window system's arrow until the
// first frame, then blank while the ground marker shows where the pointer is
// and the pointing hand in pan mode.
enum class MapCursor { Default, Blank, Hand };

// The pointer as the frame loop sees it: its position relative to the map
// view, the view's size and the shape the view shows.
class MapPointer {
public:
    virtual ~MapPointer() = default;
    // In the view's client pixels, origin top left, y downward; may lie outside the view.
    virtual QPoint PointerPosition() const = 0;
    virtual QSize ViewSize() const = 0;
    virtual MapCursor Cursor() const = 0;
    virtual void SetCursor(MapCursor cursor) = 0;
};

// What the frame loop asks the rendered view: see TGxSceneBuffer.
class MapPicker {
public:
    virtual ~MapPicker() = default;
    // The nearest object under the pixel (view pixels, origin top left), or none.
    virtual TGxBaseSceneObject* ObjectAtPixel(int x, int y) = 0;
    // Where the ray through a window point (OpenGL window coordinates, origin
    // bottom left) meets the plane z = height; false when it does not.
    virtual bool PixelOnGroundPlane(const TGxVector& windowPoint, float height, TGxVector& point) = 0;
};

// Picks through the buffer that draws the map view.
class SceneBufferPicker : public MapPicker {
public:
    explicit SceneBufferPicker(TGxSceneBuffer& buffer) : m_buffer(buffer) {}
    TGxBaseSceneObject* ObjectAtPixel(int x, int y) override;
    bool PixelOnGroundPlane(const TGxVector& windowPoint, float height, TGxVector& point) override;
    // Picks made through it so far.
    int PickCount() const { return m_picks; }

private:
    TGxSceneBuffer& m_buffer;
    int m_picks = 0;
};

// The live pointer over a view widget, read from the window system at the
// moment of the call. While the view is hidden the pointer is never over it.
class ViewPointer : public MapPointer {
public:
    explicit ViewPointer(QWidget* view) : m_view(view) {}
    QPoint PointerPosition() const override;
    QSize ViewSize() const override;
    MapCursor Cursor() const override;
    void SetCursor(MapCursor cursor) override;

private:
    QWidget* m_view;
};

// A pointer set by hand, for tests and recorded input.
class ScriptedPointer : public MapPointer {
public:
    explicit ScriptedPointer(QSize viewSize = {593, 440}) : m_size(viewSize) {}
    QPoint PointerPosition() const override { return m_position; }
    QSize ViewSize() const override { return m_size; }
    MapCursor Cursor() const override { return m_cursor; }
    void SetCursor(MapCursor cursor) override { m_cursor = cursor; }
    void MoveTo(int x, int y) { m_position = {x, y}; }
    void SetViewSize(QSize size) { m_size = size; }

private:
    QPoint m_position{-1, -1};
    QSize m_size;
    MapCursor m_cursor = MapCursor::Default;
};

// The key state KeyHeld answers from (the live keyboard in the program).
class InstalledKeyState : public KeyStateSource {
public:
    bool KeyHeld(int virtualKey) const override { return ::KeyHeld(virtualKey); }
};
