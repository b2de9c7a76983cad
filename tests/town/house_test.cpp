#include "base/Cp1251.h"
#include "base/StrToInt.h"
#include "engine/materials/GxMaterial.h"
#include "base/GxException.h"
#include "engine/scene/GxScene.h"
#include "map/House.h"
#include "map/Road.h"

#include <gtest/gtest.h>

#include <array>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace {

class HouseTest : public ::testing::Test {
protected:
    Thouse* house(const std::vector<std::array<float, 2>>& outline, const std::string& floors = "5")
    {
        auto* h = scene.ObjectRoot()->SpawnChild<Thouse>();
        for (const auto& p : outline)
            h->AppendNode(p[0], p[1], 0);
        h->SetParam(2, floors);
        return h;
    }
    static std::vector<std::array<float, 3>> corners(const TGxBaseSceneObject* wall)
    {
        const auto& nodes = static_cast<const TGxPolygon*>(wall)->Nodes();
        std::vector<std::array<float, 3>> c;
        for (int i = 0; i < nodes.Count(); ++i)
            c.push_back({nodes.Items(i).X(), nodes.Items(i).Y(), nodes.Items(i).Z()});
        return c;
    }
    static std::array<float, 4> diffuse(TGxBaseSceneObject* o)
    {
        return static_cast<TGxCustomSceneObject*>(o)->Material().FrontProperties().Diffuse().Vector();
    }
    static std::array<float, 4> emission(TGxBaseSceneObject* o)
    {
        return static_cast<TGxCustomSceneObject*>(o)->Material().FrontProperties().Emission().Vector();
    }
    static std::string errorOf(const std::function<void()>& f)
    {
        try {
            f();
        } catch (const EGxError& e) {
            return e.what();
        }
        return "no error";
    }

    TGxScene scene;
    const std::array<float, 4> green{0, 128 / 255.0f, 0, 1};
    const std::array<float, 4> red{1, 0, 0, 1};
    const std::array<float, 4> black{0, 0, 0, 1};
};

} // namespace

TEST_F(HouseTest, NewHouseHasDefaultParamsAndNothingElse)
{
    Thouse h(nullptr);
    EXPECT_EQ(h.ClassName(), "Thouse");
    EXPECT_EQ(h.params(), (std::array<std::string, 3>{cp1251::fromUtf8("Улица"), cp1251::fromUtf8("Дом"), "5"}));
    EXPECT_EQ(h.Nodes().Count(), 0);
    EXPECT_EQ(h.Count(), 0);
    EXPECT_EQ(errorOf([&] { h.SetParam(3, "x"); }), "List index out of bounds (3)");
    Troad road(nullptr);
    EXPECT_EQ(road.ClassName(), "Troad");
}

TEST_F(HouseTest, BuildWallsRaisesTheRoofAndAddsOneWallPerEdge)
{
    Thouse* h = house({{0, 0}, {2, 0}, {2, 1}, {0, 1}});
    h->Material().FrontProperties().Diffuse().SetWinColor(0x336699);
    h->BuildWalls();
    const float roof = 15 * kHeightScale;
    EXPECT_NEAR(roof, 1.2165f, 1e-6f);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(h->Nodes().Items(i).Z(), roof) << i;
    ASSERT_EQ(h->Count(), 4);
    EXPECT_EQ(corners(h->Children(0)), (std::vector<std::array<float, 3>>{{0, 0, 0}, {0, 0, roof}, {2, 0, roof}, {2, 0, 0}}));
    EXPECT_EQ(corners(h->Children(2)), (std::vector<std::array<float, 3>>{{2, 1, 0}, {2, 1, roof}, {0, 1, roof}, {0, 1, 0}}));
    // The closing wall joins the last node to the first.
    EXPECT_EQ(corners(h->Children(3)), (std::vector<std::array<float, 3>>{{0, 1, 0}, {0, 1, roof}, {0, 0, roof}, {0, 0, 0}}));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(h->Children(i)->ClassName(), "TGxPolygon");
        EXPECT_EQ(diffuse(h->Children(i)), diffuse(h)) << "walls take the house's colour";
    }
}

TEST_F(HouseTest, FloorsDecideTheHeight)
{
    struct Case {
        const char* floors;
        float roof;
    };
    const Case cases[] = {{"0", 0.0f}, {"-2", -6 * kHeightScale}, {"+1", 3 * kHeightScale}, {"12", 36 * kHeightScale}};
    for (const Case& c : cases) {
        Thouse* h = house({{0, 0}, {1, 0}, {1, 1}}, c.floors);
        h->BuildWalls();
        EXPECT_EQ(h->Nodes().Items(0).Z(), c.roof) << c.floors;
        EXPECT_EQ(corners(h->Children(1))[1][2], c.roof) << c.floors;
        EXPECT_EQ(corners(h->Children(1))[0][2], 0.0f) << "walls stand on the ground";
    }
}

TEST_F(HouseTest, OneNodeHouseGetsOneFlatWallAndNeverReadsItsFloors)
{
    Thouse* h = house({{3, 4}}, "not a number");
    h->BuildWalls();
    ASSERT_EQ(h->Count(), 1);
    EXPECT_EQ(corners(h->Children(0)), (std::vector<std::array<float, 3>>(4, {3, 4, 0})));
    EXPECT_EQ(h->Nodes().Items(0).Z(), 0);
}

TEST_F(HouseTest, BuildWallsErrors)
{
    Thouse* empty = house({});
    EXPECT_EQ(errorOf([&] { empty->BuildWalls(); }), "List index out of bounds (-1)");

    // Bad floors stop after the first wall was added and before it got nodes.
    const std::string floors = cp1251::fromUtf8("пять");
    Thouse* bad = house({{0, 0}, {1, 0}, {1, 1}}, floors);
    EXPECT_EQ(errorOf([&] { bad->BuildWalls(); }), "'пять' is not a valid integer value");
    ASSERT_EQ(bad->Count(), 1);
    EXPECT_EQ(static_cast<TGxPolygon*>(bad->Children(0))->Nodes().Count(), 0);
}

TEST(StrToInt, TakesOnlyPlainDecimalNumbers)
{
    struct Good {
        const char* text;
        std::int32_t value;
    };
    for (const Good& g : {Good{"5", 5}, Good{"-12", -12}, Good{"+7", 7}, Good{"007", 7},
                          Good{"2147483647", 2147483647}, Good{"-2147483648", -2147483647 - 1}})
        EXPECT_EQ(StrToInt(g.text), g.value) << g.text;
    for (const char* bad : {"", " 5", "5 ", "1.5", "$1F", "0x1F", "+", "-", "+-5", "--5", "2147483648", "5a"}) {
        try {
            StrToInt(bad);
            ADD_FAILURE() << bad;
        } catch (const EGxError& e) {
            EXPECT_EQ(std::string(e.what()), "'" + std::string(bad) + "' is not a valid integer value");
        }
    }
}

TEST_F(HouseTest, ColourOperationsTouchTheHouseAndItsWalls)
{
    Thouse* h = house({{0, 0}, {1, 0}, {1, 1}});
    h->BuildWalls();
    std::vector<TGxBaseSceneObject*> all{h};
    for (int i = 0; i < h->Count(); ++i)
        all.push_back(h->Children(i));

    h->SetNormalColors();
    for (auto* o : all) {
        EXPECT_EQ(diffuse(o), green);
        EXPECT_EQ(emission(o), black);
    }

    // k glow steps from black: 1 - 0.7^k on red and green.
    for (int k = 1; k <= 3; ++k) {
        h->GlowStep();
        const float expected = 1.0f - std::pow(0.7f, float(k));
        for (auto* o : all) {
            EXPECT_NEAR(emission(o)[0], expected, 1e-6f) << k;
            EXPECT_NEAR(emission(o)[1], expected, 1e-6f) << k;
            EXPECT_EQ(emission(o)[2], 0.0f);
            EXPECT_EQ(emission(o)[3], 1.0f);
        }
    }
    const auto glow = emission(h);
    h->SetSelectedColor();
    for (auto* o : all) {
        EXPECT_EQ(diffuse(o), red);
        EXPECT_EQ(emission(o), glow) << "selecting keeps the glow";
    }
    h->ClearGlow();
    for (auto* o : all) {
        EXPECT_EQ(emission(o), black);
        EXPECT_EQ(diffuse(o), red);
    }
    h->GlowStep();
    h->SetNormalColors();
    for (auto* o : all) {
        EXPECT_EQ(diffuse(o), green);
        EXPECT_EQ(emission(o), black);
    }

    h->Material().FrontProperties().Emission().SetColorVector(1, 1, 0, 1);
    h->GlowStep();
    EXPECT_EQ(emission(h), (std::array<float, 4>{1, 1, 0, 1})) << "at the target the glow stays";
}

TEST_F(HouseTest, WallsHoldTheHouseMaterialUntilOneIsChangedOnItsOwn)
{
    Thouse* h = house({{0, 0}, {1, 0}, {1, 1}, {0, 1}});
    h->Material().FrontProperties().Diffuse().SetWinColor(0x123456);
    h->BuildWalls();
    const auto held = [](const TGxBaseSceneObject* o) {
        return &static_cast<const TGxCustomSceneObject*>(o)->Material();
    };
    for (int i = 0; i < h->Count(); ++i)
        EXPECT_EQ(held(h->Children(i)), held(h)) << "a new wall takes the house's own material: " << i;

    h->GlowStep();
    for (int i = 0; i < h->Count(); ++i)
        EXPECT_EQ(held(h->Children(i)), held(h)) << "still one material after a change: " << i;

    // Changing one wall leaves the house and the other walls as they were,
    // and later house operations reach that wall as an operation of its own.
    auto* odd = static_cast<TGxCustomSceneObject*>(h->Children(1));
    odd->Material().FrontProperties().Specular().SetColorVector(0.5f, 0.5f, 0.5f, 1);
    EXPECT_NE(held(odd), held(h));
    EXPECT_EQ(std::as_const(*h).Material().FrontProperties().Specular().Vector(), black);
    EXPECT_EQ(std::as_const(*odd).Material().FrontProperties().Emission().Vector(),
              std::as_const(*h).Material().FrontProperties().Emission().Vector());
    h->SetSelectedColor();
    h->GlowStep();
    EXPECT_EQ(std::as_const(*odd).Material().FrontProperties().Diffuse().Vector(), red);
    EXPECT_EQ(std::as_const(*odd).Material().FrontProperties().Emission().Vector(),
              std::as_const(*h).Material().FrontProperties().Emission().Vector());
    EXPECT_EQ(std::as_const(*odd).Material().FrontProperties().Specular().Vector(),
              (std::array<float, 4>{0.5f, 0.5f, 0.5f, 1}));
    EXPECT_EQ(held(h->Children(0)), held(h));

    // A house whose material is more than a diffuse colour gives each new
    // wall the default material with that colour, as always.
    Thouse* shiny = house({{0, 0}, {1, 0}, {1, 1}});
    shiny->Material().FrontProperties().Specular().SetColorVector(1, 1, 1, 1);
    shiny->BuildWalls();
    EXPECT_NE(held(shiny->Children(0)), held(shiny));
    EXPECT_EQ(std::as_const(*static_cast<TGxCustomSceneObject*>(shiny->Children(0))).Material().FrontProperties()
                  .Specular().Vector(),
              (std::array<float, 4>{0, 0, 0, 1}));
}

TEST_F(HouseTest, CentreIsTheMeanOfTheOutline)
{
    Thouse* h = house({{0, 0}, {2, 0}, {2, 2}, {0, 2}});
    EXPECT_EQ(h->CenterX(), 1);
    EXPECT_EQ(h->CenterY(), 1);
    h->BuildWalls();
    EXPECT_EQ(h->CenterX(), 1);
    EXPECT_EQ(h->CenterY(), 1);
    Thouse* l = house({{0, 0}, {3, 0}, {3, 1}});
    EXPECT_EQ(l->CenterX(), 2);
    EXPECT_FLOAT_EQ(l->CenterY(), 1.0f / 3);
}
