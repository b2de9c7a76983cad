#include "map/House.h"

#include "base/Cp1251.h"
#include "base/StrToInt.h"
#include "engine/materials/GxMaterial.h"
#include "base/GxException.h"

#include <algorithm>
#include <utility>

namespace {

constexpr std::int32_t kNormalDiffuse = 0x008000;   // Windows colour: green
constexpr std::int32_t kSelectedDiffuse = 0x0000FF; // Windows colour: red
constexpr std::int32_t kOpenDiffuse = 0x0090FF;     // Windows colour: amber (255, 144, 0)
constexpr float kGlowTarget[4] = {1, 1, 0, 1};
constexpr float kGlowFactor = 0.7f;

TGxColor& frontDiffuse(TGxCustomSceneObject& o)
{
    return o.Material().FrontProperties().Diffuse();
}

TGxColor& frontEmission(TGxCustomSceneObject& o)
{
    return o.Material().FrontProperties().Emission();
}

} // namespace

Thouse::Thouse(TGxComponent* owner)
    : TGxPolygon(owner), m_params{defaultParams()}
{
}

const std::array<std::string, 3>& Thouse::defaultParams()
{
    // Converted once, not for each of a town's houses.
    static const std::array<std::string, 3> params{cp1251::fromUtf8("Улица"), cp1251::fromUtf8("Дом"), "5"};
    return params;
}

void Thouse::SetParam(int index, const std::string& text)
{
    if (index < 0 || index >= static_cast<int>(m_params.size()))
        throw EGxError("List index out of bounds (" + std::to_string(index) + ")");
    m_params[index] = text;
}

void Thouse::BuildWalls(float heightScale)
{
    TGxNodes& nodes = Nodes();
    const int n = nodes.Count();
    // A wall's material is the default one with the house's diffuse colour;
    // when that is the house's material as well, the walls share it.
    TGxMaterial wallMaterial(nullptr);
    wallMaterial.FrontProperties().Diffuse().Assign(std::as_const(*this).Material().FrontProperties().Diffuse());
    const bool likeHouse = wallMaterial.SamePlainSettings(std::as_const(*this).Material());
    const auto addWall = [this, likeHouse] {
        auto* wall = SpawnChild<TGxPolygon>();
        wall->Nodes().Reserve(4);
        if (likeHouse)
            wall->ShareMaterial(*this);
        else
            frontDiffuse(*wall).Assign(frontDiffuse(*this));
        return wall;
    };
    ReserveChildren(Count() + std::max(n, 1));
    for (int i = 0; i + 1 < n; ++i) {
        TGxPolygon* wall = addWall();
        // Read for every edge, as the walls are built one by one.
        const std::int32_t floors = StrToInt(m_params[2]);
        // A 32-bit product: absurd floor counts wrap rather than overflow.
        const auto storeys = static_cast<std::int32_t>(std::int64_t(floors) * kMetresPerStorey);
        const float h = float(storeys) * heightScale;
        nodes.Items(i).SetZ(h);
        nodes.Items(i + 1).SetZ(h);
        const TGxNode& a = nodes.Items(i);
        const TGxNode& b = nodes.Items(i + 1);
        wall->AppendNode(a.X(), a.Y(), 0);
        wall->AppendNode(a.X(), a.Y(), a.Z());
        wall->AppendNode(b.X(), b.Y(), a.Z());
        wall->AppendNode(b.X(), b.Y(), 0);
    }
    TGxPolygon* closing = addWall();
    const TGxNode& last = nodes.Items(n - 1);
    const TGxNode& first = nodes.Items(0);
    closing->AppendNode(last.X(), last.Y(), 0);
    closing->AppendNode(last.X(), last.Y(), last.Z());
    closing->AppendNode(first.X(), first.Y(), last.Z());
    closing->AppendNode(first.X(), first.Y(), 0);
}

template <class F>
void Thouse::forHouseAndWalls(F&& apply)
{
    // A wall whose material equals the house's would end equal to the
    // house's changed one: it shares that instead of changing a copy of its
    // own. A town's walls then hold one material per house.
    std::vector<char> likeHouse(std::size_t(Count()), 0);
    const TGxMaterial& before = std::as_const(*this).Material();
    for (int i = 0; i < Count(); ++i)
        if (auto* child = dynamic_cast<const TGxCustomSceneObject*>(Children(i)))
            likeHouse[std::size_t(i)] = child->Material().SamePlainSettings(before);
    apply(*this);
    for (int i = 0; i < Count(); ++i) {
        auto* child = dynamic_cast<TGxCustomSceneObject*>(Children(i));
        if (!child)
            continue;
        if (likeHouse[std::size_t(i)])
            child->ShareMaterial(*this);
        else
            apply(*child);
    }
}

void Thouse::SetNormalColors()
{
    forHouseAndWalls([](TGxCustomSceneObject& o) {
        frontDiffuse(o).SetWinColor(kNormalDiffuse);
        frontEmission(o).SetColorVector(0, 0, 0, 1);
    });
}

void Thouse::SetSelectedColor()
{
    forHouseAndWalls([](TGxCustomSceneObject& o) { frontDiffuse(o).SetWinColor(kSelectedDiffuse); });
}

void Thouse::SetOpenColor()
{
    forHouseAndWalls([](TGxCustomSceneObject& o) { frontDiffuse(o).SetWinColor(kOpenDiffuse); });
}

void Thouse::GlowStep()
{
    forHouseAndWalls([](TGxCustomSceneObject& o) {
        TGxColor& e = frontEmission(o);
        float c[4];
        for (int k = 0; k < 4; ++k)
            c[k] = kGlowTarget[k] + (e.Vector()[k] - kGlowTarget[k]) * kGlowFactor;
        e.SetColorVector(c[0], c[1], c[2], c[3]);
    });
}

void Thouse::ClearGlow()
{
    forHouseAndWalls([](TGxCustomSceneObject& o) { frontEmission(o).SetColorVector(0, 0, 0, 1); });
}

bool Thouse::LooksLike(const Thouse& model) const
{
    const TGxMaterial& look = model.Material();
    if (!Material().SamePlainSettings(look))
        return false;
    for (int i = 0; i < Count(); ++i) {
        auto* child = dynamic_cast<const TGxCustomSceneObject*>(Children(i));
        if (child && !child->Material().SamePlainSettings(look))
            return false;
    }
    return true;
}

void Thouse::ShareLookOf(Thouse& model)
{
    const TGxMaterial& look = std::as_const(model).Material();
    if (!std::as_const(*this).Material().SamePlainSettings(look))
        return;
    for (int i = 0; i < Count(); ++i) {
        auto* child = dynamic_cast<TGxCustomSceneObject*>(Children(i));
        if (child && std::as_const(*child).Material().SamePlainSettings(look))
            child->ShareMaterial(model);
    }
    ShareMaterial(model);
}

bool Thouse::TakeLookOf(Thouse& model)
{
    if (&model == this)
        return true;
    const auto plain = [](const TGxCustomSceneObject& o) { return o.Material().IsPlain(); };
    if (!plain(model) || !plain(*this))
        return false;
    for (int i = 0; i < Count(); ++i)
        if (auto* child = dynamic_cast<const TGxCustomSceneObject*>(Children(i)); child && !plain(*child))
            return false;
    for (int i = 0; i < Count(); ++i)
        if (auto* child = dynamic_cast<TGxCustomSceneObject*>(Children(i)))
            child->ShareMaterial(model);
    ShareMaterial(model);
    return true;
}

const TGxMaterial* Thouse::SharedMaterial() const
{
    const TGxMaterial* look = &Material();
    for (int i = 0; i < Count(); ++i)
        if (auto* child = dynamic_cast<const TGxCustomSceneObject*>(Children(i)); child && &child->Material() != look)
            return nullptr;
    return look;
}

float Thouse::CenterX() const
{
    float sum = 0;
    for (int i = 0; i < Nodes().Count(); ++i)
        sum += Nodes().Items(i).X();
    return sum / float(Nodes().Count());
}

float Thouse::CenterY() const
{
    float sum = 0;
    for (int i = 0; i < Nodes().Count(); ++i)
        sum += Nodes().Items(i).Y();
    return sum / float(Nodes().Count());
}
