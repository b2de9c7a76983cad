#include "engine/scene/GxCustomSceneObject.h"

TGxCustomSceneObject::TGxCustomSceneObject(TGxComponent* owner) : TGxBaseSceneObject(owner)
{
}
