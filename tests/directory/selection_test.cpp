// Choosing houses by a press in the map view: what is chosen, painted,
// listed, labelled and flown to.
#include "SelectionFixture.h"

namespace {

// Stand-ins for what a pick can return besides houses.
class PlainSprite : public TGxBaseSceneObject {
public:
    using TGxBaseSceneObject::TGxBaseSceneObject;
    std::string_view ClassName() const override { return "TGxSprite"; }
};
class DerivedSprite : public PlainSprite {
public:
    using PlainSprite::PlainSprite;
    std::string_view ClassName() const override { return "TGxHUDSprite"; }
};

class ClickSelection : public SelectionFixture {
protected:
    ClickSelection()
    {
        sad12 = addHouse("Садовая", "12");
        sad4 = addHouse("Садовая", "4", 10);
        len7a = addHouse("Ленина", "7а", 20);
        twin = addHouse("Ленина", "7а", 30); // the same address, later in child order
        longNo = addHouse("Мира", "123456", 40);
        addOrg("Школа", "Садовая", "12");
        addOrg("Аптека", "Ленина", "7а");
        addOrg("Почта", "Садовая", "4");
        addOrg("Библиотека", "Садовая", "12");
        addOrg("Клуб", "Мира", "12345");
    }

    static TGxBaseSceneObject* wall(Thouse* h, int i) { return h->Children(i); }

    Thouse *sad12, *sad4, *len7a, *twin, *longNo;
};

TEST_F(ClickSelection, LeftPressOnAHouseOrItsWallChoosesEveryHouseOfThatAddress)
{
    struct Row {
        const char* what;
        TGxBaseSceneObject* under;
        Thouse* current;  // CurrentObject afterwards: the last house at the address
        Thouse* selected; // the house pressed, or the owner of the wall pressed
        std::vector<Thouse*> red;
        const char* street;
        const char* number;
        std::vector<std::string> tree;
    };
    const Row rows[] = {
        {"roof", sad12, sad12, sad12, {sad12}, "Садовая", "12", names({"Школа", "Библиотека"})},
        {"wall", wall(sad4, 2), sad4, sad4, {sad4}, "Садовая", "4", names({"Почта"})},
        {"roof of the first twin", len7a, twin, len7a, {len7a, twin}, "Ленина", "7а", names({"Аптека"})},
        {"wall of the second twin", wall(twin, 0), twin, twin, {len7a, twin}, "Ленина", "7а", names({"Аптека"})},
        {"wall of the first twin", wall(len7a, 3), twin, len7a, {len7a, twin}, "Ленина", "7а", names({"Аптека"})},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        controls.orgName = w("Школа");
        forgetCalls();
        pressAt(row.under);
        EXPECT_EQ(state.CurrentObject, row.current);
        EXPECT_EQ(state.SelectedHouse, row.selected);
        EXPECT_FALSE(state.StreetMode);
        EXPECT_EQ(redHouses(), row.red);
        EXPECT_EQ(controls.orgName, "");
        EXPECT_EQ(controls.street, w(row.street));
        EXPECT_EQ(controls.houseNo, w(row.number));
        EXPECT_EQ(controls.tree, row.tree);
        EXPECT_EQ(label, row.current);
        ASSERT_FALSE(flights.empty());
        EXPECT_EQ(flights.back(), row.current);
        EXPECT_EQ(picks, 1);
    }
}

TEST_F(ClickSelection, ANumberLongerThanTheDirectoryHoldsNoLongerMatchesItsOwnHouse)
{
    // The house itself: still painted, labelled and flown to as CurrentObject.
    pressAt(longNo);
    EXPECT_EQ(redHouses(), std::vector<Thouse*>{longNo});
    EXPECT_EQ(label, longNo);
    EXPECT_EQ(flights.back(), longNo);
    EXPECT_EQ(controls.street, w("Мира"));
    EXPECT_EQ(controls.houseNo, w("123456"));
    EXPECT_TRUE(controls.tree.empty()); // "12345" is another address

    // One of its walls: re-applying the cut address finds no house, so
    // nothing stays painted or listed; the label and the flight stay.
    pressAt(wall(longNo, 1));
    EXPECT_EQ(state.CurrentObject, wall(longNo, 1));
    EXPECT_EQ(state.SelectedHouse, longNo);
    EXPECT_TRUE(redHouses().empty());
    EXPECT_TRUE(controls.tree.empty());
    EXPECT_EQ(controls.street, "");
    EXPECT_EQ(controls.houseNo, "");
    EXPECT_EQ(label, longNo);
    EXPECT_EQ(flights.back(), longNo);
}

TEST_F(ClickSelection, RightPressReappliesTheChosenHouseWithoutPicking)
{
    pressAt(len7a);
    label = nullptr; // the label from the click is gone
    forgetCalls();
    pressAt(sad4, Qt::RightButton);
    EXPECT_EQ(picks, 0);
    EXPECT_EQ(state.CurrentObject, twin);
    EXPECT_EQ(redHouses(), (std::vector<Thouse*>{len7a, twin}));
    EXPECT_EQ(label, twin);
    EXPECT_FALSE(hints.empty());
    ASSERT_FALSE(flights.empty());
    EXPECT_EQ(flights.back(), twin);
    EXPECT_EQ(controls.tree, names({"Аптека"}));
}

TEST_F(ClickSelection, ShiftLeftPressPicksAndClearsNothingButReappliesTheSelection)
{
    pressAt(sad12);
    controls.orgName = w("Почта");
    forgetCalls();
    state.PanMode = true;
    pressAt(sad4);
    EXPECT_EQ(picks, 0);
    EXPECT_EQ(state.CurrentObject, sad12);
    EXPECT_EQ(controls.orgName, w("Почта"));
    EXPECT_EQ(redHouses(), std::vector<Thouse*>{sad12});
    EXPECT_EQ(controls.tree, names({"Школа", "Библиотека"}));
    EXPECT_EQ(label, sad12);
    ASSERT_FALSE(flights.empty()); // MoveToHouse itself skips the flight in pan mode
}

TEST_F(ClickSelection, LeftPressOnTheGroundDeselectsButKeepsSelectedHouse)
{
    pressAt(sad12);
    pressAt(ground);
    EXPECT_EQ(state.CurrentObject, ground);
    EXPECT_EQ(state.SelectedHouse, sad12); // the hover glow keeps skipping it
    EXPECT_TRUE(redHouses().empty());
    EXPECT_EQ(controls.street, "");
    EXPECT_EQ(controls.houseNo, "");
    EXPECT_TRUE(controls.tree.empty());
    EXPECT_EQ(label, nullptr);

    // Further presses of any kind leave the ground chosen and nothing painted.
    forgetCalls();
    pressAt(nullptr, Qt::RightButton);
    state.PanMode = true;
    pressAt(sad4);
    EXPECT_EQ(state.CurrentObject, ground);
    EXPECT_TRUE(redHouses().empty());
    EXPECT_TRUE(hints.empty());
    EXPECT_TRUE(flights.empty());
}

TEST_F(ClickSelection, PressOnNothingOnAPlainSpriteOrOnTheChoiceItselfKeepsTheChoice)
{
    auto* sprite = scene.ObjectRoot()->SpawnChild<PlainSprite>();
    auto* derived = scene.ObjectRoot()->SpawnChild<DerivedSprite>();
    pressAt(sad12);
    for (TGxBaseSceneObject* under : {static_cast<TGxBaseSceneObject*>(nullptr), static_cast<TGxBaseSceneObject*>(sprite),
                                      static_cast<TGxBaseSceneObject*>(sad12)}) {
        SCOPED_TRACE(under ? std::string(under->ClassName()) : "nothing");
        controls.orgName = w("Школа");
        pressAt(under);
        EXPECT_EQ(state.CurrentObject, sad12);
        EXPECT_EQ(redHouses(), std::vector<Thouse*>{sad12});
        EXPECT_EQ(controls.orgName, "");
        EXPECT_EQ(controls.tree, names({"Школа", "Библиотека"}));
        EXPECT_EQ(label, sad12);
    }
    // Only the exact class is passed over.
    pressAt(derived);
    EXPECT_EQ(state.CurrentObject, derived);
    EXPECT_TRUE(redHouses().empty());
}

TEST_F(ClickSelection, StreetModeLastsUntilAPressWhileAHouseIsChosen)
{
    // A house chosen earlier: the street search paints it as well, and the
    // next press of any button goes back to that house's address.
    pressAt(sad12);
    controls.street = w("Ленина");
    controls.houseNo = "";
    panel.bt_searchClick();
    EXPECT_TRUE(state.StreetMode);
    EXPECT_EQ(redHouses(), (std::vector<Thouse*>{sad12, len7a, twin}));
    pressAt(nullptr, Qt::RightButton);
    EXPECT_FALSE(state.StreetMode);
    EXPECT_EQ(redHouses(), std::vector<Thouse*>{sad12});

    // Nothing chosen: orbit and pan presses keep painting the street.
    pressAt(ground);
    controls.street = w("Ленина");
    controls.houseNo = "";
    panel.bt_searchClick();
    pressAt(nullptr, Qt::RightButton);
    state.PanMode = true;
    pressAt(sad4);
    EXPECT_TRUE(state.StreetMode);
    EXPECT_EQ(redHouses(), (std::vector<Thouse*>{len7a, twin}));

    // A left press on a house leaves street mode.
    state.PanMode = false;
    pressAt(sad4);
    EXPECT_FALSE(state.StreetMode);
    EXPECT_EQ(redHouses(), std::vector<Thouse*>{sad4});
}

} // namespace

namespace {
// Counts the notifications that reach a buffer drawing the scene.
class CountingBuffer : public IGxSceneBuffer {
public:
    void SceneChanged(TGxScene*) override { ++changes; }
    int changes = 0;
};
} // namespace

TEST_F(ClickSelection, RecolouringManyHousesTellsTheViewOnce)
{
    for (int i = 0; i < 50; ++i)
        addHouse("Полевая", std::to_string(i), 50.0f + 5.0f * float(i));
    CountingBuffer view;
    scene.AttachBuffer(&view);

    DeSelectAll(scene);
    EXPECT_EQ(view.changes, 1) << "every house and wall recoloured";

    view.changes = 0;
    state.StreetMode = true;
    state.StreetModeName = w("Полевая");
    selection.SelAct();
    EXPECT_EQ(view.changes, 1) << "the street's 50 houses painted red after all were reset";
    EXPECT_EQ(redHouses().size(), 50u);

    view.changes = 0;
    pressAt(wall(sad12, 1));
    EXPECT_EQ(view.changes, 1) << "a press choosing a house";
    scene.DetachBuffer(&view);
}

TEST_F(ClickSelection, ResetHousesShareOneMaterialButEachChangesAlone)
{
    const auto held = [](const TGxBaseSceneObject* o) {
        return &static_cast<const TGxCustomSceneObject*>(o)->Material();
    };
    const auto front = [](const TGxBaseSceneObject* o) -> const TGxFaceProperties& {
        return static_cast<const TGxCustomSceneObject*>(o)->Material().FrontProperties();
    };
    const std::array<float, 4> green{0, 128 / 255.0f, 0, 1}, black{0, 0, 0, 1}, grey{0.5f, 0.5f, 0.5f, 1};
    sad4->GlowStep();
    len7a->SetSelectedColor();
    auto* oddWall = static_cast<TGxCustomSceneObject*>(twin->Children(0));
    oddWall->Material().FrontProperties().Specular().SetColorVector(0.5f, 0.5f, 0.5f, 1);

    DeSelectAll(scene);
    for (Thouse* h : {sad12, sad4, len7a, twin, longNo}) {
        std::vector<const TGxBaseSceneObject*> parts{h};
        for (int i = 0; i < h->Count(); ++i)
            parts.push_back(h->Children(i));
        for (const TGxBaseSceneObject* o : parts) {
            EXPECT_EQ(front(o).Diffuse().Vector(), green);
            EXPECT_EQ(front(o).Emission().Vector(), black);
            if (o != oddWall)
                EXPECT_EQ(held(o), held(sad12)) << "one material for every house alike";
        }
    }
    EXPECT_EQ(front(oddWall).Specular().Vector(), grey) << "a wall unlike the others keeps its own";

    // Each house still changes alone.
    sad4->GlowStep();
    EXPECT_NE(front(sad4).Emission().Vector(), black);
    EXPECT_EQ(front(sad4->Children(0)).Emission().Vector(), front(sad4).Emission().Vector());
    for (Thouse* h : {sad12, len7a, twin, longNo})
        EXPECT_EQ(front(h).Emission().Vector(), black);
    oddWall->Material().FrontProperties().Diffuse().SetWinColor(0x0000FF);
    EXPECT_EQ(front(twin).Diffuse().Vector(), green);
}
