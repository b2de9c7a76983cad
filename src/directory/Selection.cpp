#include "directory/Selection.h"

#include "engine/scene/GxScene.h"
#include "town/House.h"

void DeSelectAll(TGxScene& scene)
{
    TGxBaseSceneObject* root = scene.ObjectRoot();
    for (int i = 0; i < root->Count(); ++i)
        if (auto* house = dynamic_cast<Thouse*>(root->Children(i))) {
            house->SetNormalColors();
            house->ClearGlow();
        }
}
