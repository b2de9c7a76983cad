#pragma once

#include "engine/materials/GxColor.h"
#include "engine/objects/GxSamplingScale.h"
#include "engine/scene/GxCustomSceneObject.h"
#include "engine/scene/GxFlagSet.h"

#include <cstdint>

// A scene object made of lines, drawn in its own colour without a material.
class TGxLineBase : public TGxImmaterialSceneObject {
public:
    explicit TGxLineBase(TGxComponent* owner);
    std::string_view ClassName() const override { return "TGxLineBase"; }

    TGxColor& LineColor() { return m_lineColor; }
    const TGxColor& LineColor() const { return m_lineColor; }
    void SetLineColor(const TGxColor& c) { m_lineColor.Assign(c); }
    std::uint16_t LinePattern() const { return m_linePattern; }
    void SetLinePattern(std::uint16_t v);
    float LineWidth() const { return m_lineWidth; }
    void SetLineWidth(float v);
    bool AntiAliased() const { return m_antiAliased; }
    void SetAntiAliased(bool v);

protected:
    // Saves the state it changes; RestoreLineState gives it back.
    void SetupLineState() const;
    static void RestoreLineState();

private:
    TGxColor m_lineColor;
    std::uint16_t m_linePattern = 0xFFFF;
    float m_lineWidth = 1;
    bool m_antiAliased = false;
};

enum class TXYZGridPart { gpX, gpY, gpZ };
using TXYZGridParts = TGxFlagSet<TXYZGridPart>;
enum TXYZGridLinesStyle { glsLine, glsSegments };

// A lattice of lines along the axes whose parts are chosen.
class TGxXYZGrid : public TGxLineBase {
public:
    explicit TGxXYZGrid(TGxComponent* owner);
    std::string_view ClassName() const override { return "TGxXYZGrid"; }

    TGxSamplingScale& XSamplingScale() { return m_x; }
    TGxSamplingScale& YSamplingScale() { return m_y; }
    TGxSamplingScale& ZSamplingScale() { return m_z; }
    const TGxSamplingScale& XSamplingScale() const { return m_x; }
    const TGxSamplingScale& YSamplingScale() const { return m_y; }
    const TGxSamplingScale& ZSamplingScale() const { return m_z; }
    TXYZGridParts Parts() const { return m_parts; }
    void SetParts(TXYZGridParts v);
    TXYZGridLinesStyle LinesStyle() const { return m_linesStyle; }
    void SetLinesStyle(TXYZGridLinesStyle v);
    void SetLinesSmoothing(bool v) { SetAntiAliased(v); }

    void Assign(const TGxXYZGrid& source);

    // A change of a sampling scale changes the recorded lines.
    void NotifyChange(IGxChangeListener* sender) override;
    void EmitGeometry(TRenderContextInfo& rci) override;
    void BuildGeometry() const;

private:
    TGxSamplingScale m_x{this};
    TGxSamplingScale m_y{this};
    TGxSamplingScale m_z{this};
    TXYZGridParts m_parts{TXYZGridPart::gpX, TXYZGridPart::gpY};
    TXYZGridLinesStyle m_linesStyle = glsSegments;
};
