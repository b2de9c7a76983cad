#pragma once

#include "data/TownScale.h"
#include "engine/objects/GxPolygon.h"

#include <array>
#include <string>
#include <vector>

// A house of the map: a filled polygon whose outline is the footprint and,
// once its walls are built, the roof. It carries its address and height as
// texts and the colour operations of selection and hover.
class Thouse : public TGxPolygon {
public:
    explicit Thouse(TGxComponent* owner);
    std::string_view ClassName() const override { return "Thouse"; }

    // Street, house number, floors: Windows-1251 texts, always three entries
    // ("Улица", "Дом", "5" until the model file gives others).
    const std::array<std::string, 3>& params() const { return m_params; }
    // Index 0 to 2; any other raises "List index out of bounds (%d)".
    void SetParam(int index, const std::string& text);

    // One wall (a child polygon of four nodes) per outline edge, the closing
    // edge last; lifts the outline to floors x 3 x heightScale. A house
    // without nodes raises "List index out of bounds (-1)"; floors that are
    // not a whole number raise "'%s' is not a valid integer value".
    void BuildWalls(float heightScale = kHeightScale);

    // Each applies to the house's own material, then to every direct child's.
    void SetNormalColors();  // green diffuse, black emission
    void SetSelectedColor(); // red diffuse; the emission stays
    void SetOpenColor();     // amber diffuse: something in it is open now; the emission stays
    void GlowStep();         // emission 30 % of the remaining way to yellow
    void ClearGlow();        // black emission

    // True when this house and each of its walls has `model`'s material:
    // any colour operation does to both the same.
    bool LooksLike(const Thouse& model) const;
    // The house and those walls whose material equals `model`'s draw with
    // `model`'s from now on: one material for many houses alike.
    void ShareLookOf(Thouse& model);
    // The house and all its walls draw with `model`'s material from now on,
    // whatever they looked like: false (and nothing changed) when a material
    // of either is not a plain one that can be shared.
    bool TakeLookOf(Thouse& model);
    // The material the house and every wall draw with, when it is one and
    // the same object for all of them; otherwise nullptr.
    const TGxMaterial* SharedMaterial() const;

    // Mean of the outline's X (Y), walls not counted.
    float CenterX() const;
    float CenterY() const;

private:
    template <class F>
    void forHouseAndWalls(F&& apply);
    static const std::array<std::string, 3>& defaultParams();

    std::array<std::string, 3> m_params; // in the house: one allocation less for each
};
