// The demo town's landmarks drawn in their places: loaded with the whole
// town by the program's reader and rendered off-screen. With
// QUORVEL_TEST_PICTURES naming a folder, lit pictures of them are saved there
// for a look by eye.
#include "TownGenerator.h"

#include "data/TownModelReader.h"
#include "map/TownBuilder.h"
#include "engine/materials/GxMaterialLibrary.h"
#include "engine/objects/GxFreeForm.h"
#include "engine/scene/GxLightSource.h"
#include "support/OffscreenScene.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

namespace {

class DemoLandmarks : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeTownFiles(town, dir.path());
        view.camera->SetDepthOfView(400);
        LoadObjFromFile(dir.file("data.mod"), view.scene, library);
        for (int i = 0; i < view.root()->Count(); ++i)
            if (auto* landmark = dynamic_cast<TGxFreeForm*>(view.root()->Children(i)))
                landmarks[landmark->Name()] = landmark;
    }

    // The camera at `eye`, looking at `target`.
    void look(TGxVector eye, TGxVector target)
    {
        view.camera->Position().AssignPoint(eye.X, eye.Y, eye.Z);
        // Up first: the direction set last keeps its slope, up is made square to it.
        view.camera->Up().AssignVector(0, 0, 1);
        view.camera->Direction().AssignVector(VectorNormalize(VectorSubtract(target, eye)).Affine());
    }

    QColor colourOf(const std::string& name)
    {
        const auto& c = landmarks.at(name)->Material().FrontProperties().Diffuse();
        return QColor::fromRgbF(c.Red(), c.Green(), c.Blue());
    }

    // A point of a landmark in its own frame (Y up, Z north, X west) on the map.
    TGxVector at(const std::string& name, float west, float up, float north)
    {
        const TGxFreeForm* l = landmarks.at(name);
        return PointMake(l->Position().X() - west, l->Position().Y() + north, up);
    }

    void savePicture(const std::string& name)
    {
        if (const char* folder = std::getenv("QUORVEL_TEST_PICTURES"))
            view.image().mirrored(false, true).save(QString::fromStdString(std::string(folder) + "/" + name + ".png"));
    }

    const GeneratedTown town = generateTown(TownOptions{});
    TempDir dir;
    OffscreenScene view{480, 360};
    TGxMaterialLibrary library;
    std::map<std::string, TGxFreeForm*> landmarks;
};

} // namespace

TEST_F(DemoLandmarks, EachShowsItsColourWhereItStands)
{
    ASSERT_EQ(landmarks.size(), 7u);
    // Unlit, a surface shows its diffuse colour: the camera looks from the
    // south-east at a point on each landmark.
    struct Aim {
        const char* name;
        float west, up, north;
    };
    for (const Aim& a : {Aim{"monument", 0, 1.8f, 0}, Aim{"church", 0, 0.5f, -0.8f}, Aim{"church_roof", 1.0f, 1.4f, -0.4f},
                         Aim{"church_domes", -0.1f, 2.3f, 0}, Aim{"water_tower", 0, 1.2f, -0.43f},
                         Aim{"water_tank", 0, 3.0f, -0.9f}, Aim{"bridge", 0, 0.32f, -0.9f}}) {
        SCOPED_TRACE(a.name);
        const TGxVector target = at(a.name, a.west, a.up, a.north);
        look(VectorAdd(target, VectorMake(3, -6, 2.5f, 0)), target);
        view.render();
        EXPECT_EQ(view.pixel(240, 180), colourOf(a.name));
    }
}

TEST_F(DemoLandmarks, LitPictures)
{
    view.buffer.SetLighting(true);
    auto* light = view.camera->SpawnChild<TGxLightSource>();
    light->SetConstAttenuation(1.0f);
    light->SetSpotCutOff(180.0f);
    view.buffer.SetBackgroundColor(0xE0C8A0);
    struct Shot {
        const char* picture;
        const char* landmark;
        TGxVector offset;
        float up;
    };
    for (const Shot& s : {Shot{"church", "church", VectorMake(6, -8, 5, 0), 1.4f},
                          Shot{"monument", "monument", VectorMake(5, -6, 4, 0), 1.6f},
                          Shot{"water_tower", "water_tower", VectorMake(5, -7, 4, 0), 1.8f},
                          Shot{"bridge", "bridge", VectorMake(4, -7, 3, 0), 0.2f},
                          Shot{"centre", "monument", VectorMake(14, -26, 18, 0), 0}}) {
        const TGxVector target = at(s.landmark, 0, s.up, 0);
        look(VectorAdd(target, s.offset), target);
        view.render();
        savePicture(s.picture);
        // The landmark stands between the camera and the sky, and its
        // normals let the light reach it.
        const QColor centre = view.pixel(240, 180);
        EXPECT_NE(centre, QColor(0xA0, 0xC8, 0xE0)) << s.picture;
        EXPECT_GT(centre.lightness(), 40) << s.picture;
    }
}
