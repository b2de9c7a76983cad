#include "app/RulerTool.h"

#include "engine/scene/GxScene.h"
#include "map/MapBand.h"

#include <QLabel>

RulerTool::RulerTool(TGxScene& scene, QLabel& label) : m_scene(scene), m_label(label)
{
    m_label.setToolTip(QString::fromUtf8(kHint));
    m_label.setAccessibleDescription(QString::fromUtf8(kHint));
    m_label.hide();
}

void RulerTool::Add(Ruler::Point point)
{
    if (!m_band) {
        // Made late, so it follows the town in the scene and a town without
        // a ruler keeps its objects as they were.
        m_band = m_scene.ObjectRoot()->SpawnChild<MapBand>();
        m_band->SetName("RulerLine");
        m_band->SetHalfWidth(0.2f);
        m_band->SetCapRadius(0.4f);
        m_band->SetColour({0.95f, 0.45f, 0.0f});
    }
    m_ruler.Add(point);
    show();
}

void RulerTool::Clear()
{
    m_ruler.Clear();
    show();
}

void RulerTool::show()
{
    if (m_band)
        m_band->SetPointsOf(m_ruler.Points());
    const QString text = m_ruler.Text();
    m_label.setText(text);
    m_label.setAccessibleName(text);
    m_label.setVisible(!text.isEmpty());
}
