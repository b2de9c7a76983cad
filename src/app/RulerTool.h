#pragma once

#include "navigation/Ruler.h"

class MapBand;
class QLabel;
class TGxScene;

// The ruler on the map: Ctrl+click adds a point, Escape clears it. The line
// is drawn on the ground and its length shown in a label of the window
// (so a screen reader reads it), hidden while there is no line.
class RulerTool {
public:
    static constexpr char kHint[] = "Ctrl+щелчок по карте добавляет точку линейки, Esc убирает её";

    RulerTool(TGxScene& scene, QLabel& label);

    void Add(Ruler::Point point);
    void Clear();
    const Ruler& Line() const { return m_ruler; }
    // The drawn line, made with the first point (null before).
    const MapBand* Band() const { return m_band; }

private:
    void show();

    TGxScene& m_scene;
    QLabel& m_label;
    Ruler m_ruler;
    MapBand* m_band = nullptr;
};
