#include "platform/Anchors.h"

#include <QEvent>
#include <QWidget>

namespace {
// One axis: start and length of the control in a parent whose length changed by `delta`.
void anchorAxis(int& start, int& length, int delta, bool nearEdge, bool farEdge)
{
    if (nearEdge && farEdge)
        length += delta;
    else if (farEdge)
        start += delta;
    else if (!nearEdge)
        start += delta / 2;
}
} // namespace

QRect anchoredRect(QRect designed, QSize designedParent, QSize actualParent, Anchors anchors)
{
    int x = designed.x(), y = designed.y(), w = designed.width(), h = designed.height();
    anchorAxis(x, w, actualParent.width() - designedParent.width(), anchors.testFlag(Anchor::Left),
               anchors.testFlag(Anchor::Right));
    anchorAxis(y, h, actualParent.height() - designedParent.height(), anchors.testFlag(Anchor::Top),
               anchors.testFlag(Anchor::Bottom));
    return {x, y, qMax(0, w), qMax(0, h)};
}

AnchorLayout::AnchorLayout(QWidget* parent, QSize designedSize)
    : QObject(parent), m_parent(parent), m_designedSize(designedSize)
{
    parent->installEventFilter(this);
}

void AnchorLayout::add(QWidget* control, QRect designed, Anchors anchors)
{
    m_items.push_back({control, designed, anchors});
    control->setGeometry(anchoredRect(designed, m_designedSize, m_parent->size(), anchors));
}

void AnchorLayout::apply()
{
    for (const Item& item : m_items)
        item.control->setGeometry(anchoredRect(item.designed, m_designedSize, m_parent->size(), item.anchors));
}

bool AnchorLayout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_parent && event->type() == QEvent::Resize)
        apply();
    return QObject::eventFilter(watched, event);
}
