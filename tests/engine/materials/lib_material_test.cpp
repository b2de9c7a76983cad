#include "FakeListener.h"
#include "engine/materials/GxMaterialLibrary.h"
#include "support/TempDir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

TEST(GxLibMaterial, NameHashStartsWithTheLengthAndDoublesPerCharacter)
{
    EXPECT_EQ(TGxLibMaterial::ComputeNameHash(""), 0u);
    EXPECT_EQ(TGxLibMaterial::ComputeNameHash("ab"), 300u); // 97 + 2*2, then 98 + 2*101
    EXPECT_EQ(TGxLibMaterial::ComputeNameHash("\xC0"), 194u); // bytes count as 0..255
    // 33 characters: the length term has been shifted out, 97 * (2^33 - 1) wraps.
    EXPECT_EQ(TGxLibMaterial::ComputeNameHash(std::string(33, 'a')), 4294967199u);
}

TEST(GxMaterialLibrary, NamesAreMadeUniqueAndLookupsAreCaseSensitive)
{
    TGxMaterialLibrary lib;
    EXPECT_EQ(lib.Materials().Add().Name(), "LibMaterial");
    EXPECT_EQ(lib.Materials().Add().Name(), "LibMaterial1");
    TGxLibMaterial& x = lib.Materials().Add();
    x.SetName("x");
    TGxLibMaterial& x1 = lib.Materials().Add();
    x1.SetName("x");
    TGxLibMaterial& x2 = lib.Materials().Add();
    x2.SetName("x");
    EXPECT_EQ(x1.Name(), "x1");
    EXPECT_EQ(x2.Name(), "x2");
    x.SetName("x"); // its own name is not taken
    EXPECT_EQ(x.Name(), "x");

    EXPECT_EQ(lib.FindLibMaterial("x"), &x);
    EXPECT_EQ(lib.FindLibMaterial("x2"), &x2);
    EXPECT_EQ(lib.FindLibMaterial("X"), nullptr);
    EXPECT_EQ(lib.FindLibMaterial("x "), nullptr);
    EXPECT_EQ(x1.NameHash(), TGxLibMaterial::ComputeNameHash("x1"));
}

TEST(GxMaterialLibrary, NumbersFreedByRemovalOrRenamingAreTakenAgain)
{
    TGxMaterialLibrary lib;
    TGxLibMaterials& m = lib.Materials();
    for (int i = 0; i < 4; ++i)
        m.Add("y");
    EXPECT_EQ(m.Items(3).Name(), "y3");
    m.Delete(2); // y2
    EXPECT_EQ(m.Add("y").Name(), "y2");
    m.Items(1).SetName("z"); // y1
    EXPECT_EQ(m.Add("y").Name(), "y1");
    EXPECT_EQ(m.Add("y").Name(), "y4");
    EXPECT_EQ(lib.FindLibMaterial("y1"), &m.Items(m.Count() - 2));
    EXPECT_EQ(lib.FindLibMaterial("z"), &m.Items(1));

    // An entry renamed to the name it already has through numbering keeps it.
    TGxLibMaterial& y4 = m.Items(m.Count() - 1);
    y4.SetName("y");
    EXPECT_EQ(y4.Name(), "y4");
    m.Clear();
    EXPECT_EQ(m.Add("y").Name(), "y");
    EXPECT_EQ(lib.FindLibMaterial("y4"), nullptr);
}

TEST(GxMaterial, LinkingFollowsTheNameAndTellsTheOwnersStructure)
{
    TGxMaterialLibrary lib;
    TGxLibMaterial& entry = lib.Materials().Add();
    entry.SetName("Wand");
    entry.Material().SetBlendingMode(bmTransparency);

    FakeListener owner;
    TGxMaterial material(&owner);
    material.SetLibMaterialName("Wand"); // no library yet: unlinked
    EXPECT_EQ(material.LibMaterial(), nullptr);
    EXPECT_FALSE(material.Blended());
    material.SetMaterialLibrary(&lib);
    EXPECT_EQ(material.LibMaterial(), &entry);
    EXPECT_EQ(owner.structureChanges, 1);
    EXPECT_TRUE(material.Blended()); // the entry's blending counts while linked
    ASSERT_EQ(entry.Users().size(), 1u);

    material.SetLibMaterialName("Wand");
    EXPECT_EQ(owner.structureChanges, 1);

    const int before = owner.changes;
    entry.Material().FrontProperties().Diffuse().SetGreen(0.1f);
    EXPECT_EQ(owner.changes, before + 1);
    entry.Material().Texture().SetDisabled(false);
    EXPECT_EQ(owner.structureChanges, 2);

    material.SetLibMaterialName("nothing");
    EXPECT_EQ(material.LibMaterial(), nullptr);
    EXPECT_EQ(material.LibMaterialName(), "nothing");
    EXPECT_TRUE(entry.Users().empty());
    EXPECT_EQ(owner.structureChanges, 3);
}

TEST(GxMaterial, RemovedEntryUnlinksItsUsersSilently)
{
    TGxMaterialLibrary lib;
    lib.Materials().Add().SetName("Wand");
    FakeListener owner;
    TGxMaterial material(&owner);
    material.SetMaterialLibrary(&lib);
    material.SetLibMaterialName("Wand");
    const FakeListener seen = owner;

    lib.Materials().Clear();
    EXPECT_EQ(material.LibMaterial(), nullptr);
    EXPECT_EQ(material.MaterialLibrary(), nullptr);
    EXPECT_EQ(material.LibMaterialName(), "");
    EXPECT_EQ(owner.changes, seen.changes);
    EXPECT_EQ(owner.structureChanges, seen.structureChanges);
}

TEST(GxMaterial, LibraryGoingAwayLeavesNoDanglingReference)
{
    TGxMaterial material(nullptr);
    {
        TGxMaterialLibrary lib;
        material.SetMaterialLibrary(&lib);
        material.SetLibMaterialName("absent");
    }
    EXPECT_EQ(material.MaterialLibrary(), nullptr);
    material.SetLibMaterialName("again"); // must not touch the freed library
    EXPECT_EQ(material.LibMaterial(), nullptr);
}

TEST(GxMaterial, CyclicLinksAreRejected)
{
    TGxMaterialLibrary lib;
    TGxLibMaterial& a = lib.Materials().Add();
    TGxLibMaterial& b = lib.Materials().Add();
    a.SetName("A");
    b.SetName("B");
    a.Material().SetMaterialLibrary(&lib);
    b.Material().SetMaterialLibrary(&lib);

    auto expectCycle = [](auto&& link) {
        try {
            link();
            ADD_FAILURE() << "no assertion";
        } catch (const EGxAssertion& e) {
            EXPECT_EQ(e.bareMessage(), "Error: Cyclic material reference detected!");
        }
    };
    expectCycle([&] { a.Material().SetLibMaterialName("A"); });
    a.Material().SetLibMaterialName("B");
    expectCycle([&] { b.Material().SetLibMaterialName("A"); });
    EXPECT_EQ(b.Material().LibMaterial(), nullptr);
    EXPECT_EQ(b.Material().LibMaterialName(), "");

    // A chain of 16 entries is allowed, one of 17 is not.
    TGxMaterialLibrary chain;
    std::vector<TGxLibMaterial*> entries;
    for (int i = 0; i < 17; ++i) {
        entries.push_back(&chain.Materials().Add());
        entries.back()->SetName("E" + std::to_string(i));
        entries.back()->Material().SetMaterialLibrary(&chain);
    }
    for (int i = 15; i >= 0; --i)
        entries[i]->Material().SetLibMaterialName("E" + std::to_string(i + 1));
    TGxMaterial user(nullptr);
    user.SetMaterialLibrary(&chain);
    user.SetLibMaterialName("E1");
    EXPECT_EQ(user.LibMaterial(), entries[1]);
    expectCycle([&] { user.SetLibMaterialName("E0"); });
}

TEST(GxMaterial, AssignCopiesSettingsLinkAndLayers)
{
    TGxMaterialLibrary lib;
    lib.Materials().Add().SetName("grass");
    TGxMaterial source(nullptr);
    source.FrontProperties().Diffuse().SetColorVector(0.1f, 0.2f, 0.3f, 0.4f);
    source.SetBlendingMode(bmAlphaTest50);
    source.SetMaterialOptions(moNoLighting);
    source.SetFaceCulling(fcNoCull);
    source.Texture().SetTextureMode(tmReplace);
    source.TextureEx().Add().SetTextureIndex(3);
    source.SetMaterialLibrary(&lib);
    source.SetLibMaterialName("grass");

    FakeListener owner;
    TGxMaterial copy(&owner);
    copy.BackProperties();
    copy.Assign(source);
    EXPECT_EQ(copy.FrontProperties().Diffuse().Vector(), source.FrontProperties().Diffuse().Vector());
    EXPECT_FALSE(copy.HasBackProperties());
    EXPECT_EQ(copy.BlendingMode(), bmAlphaTest50);
    EXPECT_EQ(copy.MaterialOptions(), TMaterialOptions(moNoLighting));
    EXPECT_EQ(copy.FaceCulling(), fcNoCull);
    ASSERT_TRUE(copy.HasTexture());
    EXPECT_EQ(copy.Texture().TextureMode(), tmReplace);
    EXPECT_EQ(copy.LibMaterial(), lib.FindLibMaterial("grass"));
    ASSERT_EQ(copy.TextureEx().Count(), 1);
    EXPECT_EQ(copy.TextureEx().Items(0).TextureIndex(), 3);
    EXPECT_GT(owner.changes, 0);
}

TEST(GxTextureEx, LayersAreNumberedOnceAndIndexIsNeverNegative)
{
    TGxMaterial material(nullptr);
    TGxTextureEx& layers = material.TextureEx();
    layers.Add();
    layers.Add();
    layers.Delete(0);
    TGxTextureExItem& third = layers.Add();
    EXPECT_EQ(third.TextureIndex(), 2);
    EXPECT_EQ(third.DisplayName(), "Tex [2]");
    third.SetTextureIndex(-4);
    EXPECT_EQ(third.TextureIndex(), 0);
    EXPECT_TRUE(third.TextureMatrixIsIdentity());
    third.SetTextureScale({2, 2, 1});
    EXPECT_FALSE(third.TextureMatrixIsIdentity());
}

TEST(GxLibMaterial, TextureMatrixScalesThenTranslates)
{
    TGxMaterialLibrary lib;
    TGxLibMaterial& entry = lib.Materials().Add();
    EXPECT_TRUE(entry.TextureMatrixIsIdentity());
    entry.SetTextureScale({2, 3, 1});
    entry.SetTextureOffset({0.5f, 0.25f, 0});
    EXPECT_FALSE(entry.TextureMatrixIsIdentity());
    const auto& m = entry.TextureMatrix(); // column-major
    const float s = 0.1f, t = 0.2f;
    EXPECT_FLOAT_EQ(m[0] * s + m[4] * t + m[12], 2 * s + 0.5f);
    EXPECT_FLOAT_EQ(m[1] * s + m[5] * t + m[13], 3 * t + 0.25f);
    entry.SetTextureScale({1, 1, 1});
    entry.SetTextureOffset({0, 0, 0});
    EXPECT_TRUE(entry.TextureMatrixIsIdentity());
}

TEST(GxMaterialLibrary, TextureNamesResolveThroughHandlerAndFolders)
{
    TempDir dir;
    std::filesystem::create_directories(dir.file("one"));
    std::filesystem::create_directories(dir.file("two"));
    std::ofstream(dir.file("two/wood.bmp")) << "x";

    TGxMaterialLibrary lib;
    lib.SetTexturePaths(" " + dir.file("one") + " ; ;" + dir.file("two") + "/ ");
    EXPECT_EQ(lib.TexturePathList(), (std::vector<std::string>{dir.file("one") + "/", dir.file("two") + "/"}));
    lib.OnTextureNeeded = [](TGxMaterialLibrary&, std::string& name) {
        if (name == "alias")
            name = "wood.bmp";
    };
    TGxLibMaterial& entry = lib.Materials().Add();

    std::string name = "alias";
    entry.Material().Texture().DoOnTextureNeeded(name); // through the owning library material
    EXPECT_EQ(name, dir.file("two") + "/wood.bmp");
    std::string absent = "none.bmp";
    lib.TextureNeeded(absent);
    EXPECT_EQ(absent, "none.bmp");
    std::string absolute = dir.file("one/wood.bmp");
    lib.TextureNeeded(absolute);
    EXPECT_EQ(absolute, dir.file("one/wood.bmp"));
}
