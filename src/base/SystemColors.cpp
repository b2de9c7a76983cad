#include "base/SystemColors.h"

#include <QGuiApplication>
#include <QPalette>

namespace {
QPalette::ColorRole roleFor(int index, QPalette::ColorGroup& group)
{
    group = QPalette::Active;
    switch (index) {
    case 0: return QPalette::Mid;             // scroll bar
    case 1: return QPalette::Dark;            // desktop background
    case 2: return QPalette::Highlight;       // active caption
    case 3: group = QPalette::Inactive; return QPalette::Highlight;
    case 4: return QPalette::Window;          // menu
    case 5: return QPalette::Base;            // window
    case 6: return QPalette::Shadow;          // window frame
    case 7: return QPalette::WindowText;      // menu text
    case 8: return QPalette::Text;            // window text
    case 9: return QPalette::HighlightedText; // caption text
    case 10: return QPalette::Button;         // active border
    case 11: group = QPalette::Inactive; return QPalette::Button;
    case 12: return QPalette::Dark;           // application workspace
    case 13: return QPalette::Highlight;
    case 14: return QPalette::HighlightedText;
    case 15: return QPalette::Button;         // button face
    case 16: return QPalette::Dark;           // button shadow
    case 17: group = QPalette::Disabled; return QPalette::Text; // grey text
    case 18: return QPalette::ButtonText;
    case 19: group = QPalette::Inactive; return QPalette::HighlightedText;
    case 20: return QPalette::Light;          // button highlight
    case 21: return QPalette::Shadow;         // 3-D dark shadow
    case 22: return QPalette::Midlight;       // 3-D light
    case 23: return QPalette::ToolTipText;
    case 24: return QPalette::ToolTipBase;
    case 26: return QPalette::Link;           // hot-tracked item
    case 27: return QPalette::Highlight;      // gradient of the active caption
    case 28: group = QPalette::Inactive; return QPalette::Highlight;
    case 29: return QPalette::Highlight;      // menu highlight
    case 30: return QPalette::Window;         // menu bar
    default: return QPalette::Base;
    }
}
} // namespace

std::uint32_t systemColorValue(int index)
{
    QPalette::ColorGroup group;
    const QPalette::ColorRole role = roleFor(index, group);
    const QPalette palette = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                 ? QGuiApplication::palette()
                                 : QPalette(Qt::white);
    const QColor c = palette.color(group, role);
    return std::uint32_t(c.red()) | (std::uint32_t(c.green()) << 8) | (std::uint32_t(c.blue()) << 16);
}
