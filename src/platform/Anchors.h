#pragma once

#include <QFlags>
#include <QObject>
#include <QRect>
#include <QSize>

#include <vector>

class QWidget;

// Which edges of a control follow the same edges of its parent when the parent
// is resized. Left|Top keeps the control where it is; Left|Right stretches it.
enum class Anchor { Left = 1, Top = 2, Right = 4, Bottom = 8 };
Q_DECLARE_FLAGS(Anchors, Anchor)
Q_DECLARE_OPERATORS_FOR_FLAGS(Anchors)

// A control's rectangle in a parent of `actual` size, given its rectangle in
// the parent's designed size. On an axis with neither edge anchored the control
// keeps its place relative to the centre.
QRect anchoredRect(QRect designed, QSize designedParent, QSize actualParent, Anchors anchors);

// Keeps the children of one parent at their anchored places as the parent is resized.
class AnchorLayout : public QObject {
public:
    AnchorLayout(QWidget* parent, QSize designedSize);

    // Places the control at its designed rectangle and remembers its anchors.
    void add(QWidget* control, QRect designed, Anchors anchors = Anchor::Left | Anchor::Top);
    void apply();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Item {
        QWidget* control;
        QRect designed;
        Anchors anchors;
    };
    QWidget* m_parent;
    QSize m_designedSize;
    std::vector<Item> m_items;
};
