#include "engine/scene/GxCustomSceneObject.h"

#include "engine/materials/GxMaterial.h"

TGxCustomSceneObject::TGxCustomSceneObject(TGxComponent* owner)
    : TGxBaseSceneObject(owner), m_material(std::make_unique<TGxMaterial>(this))
{
}

TGxCustomSceneObject::~TGxCustomSceneObject() = default;

void TGxCustomSceneObject::SetMaterial(const TGxMaterial& material)
{
    m_material->Assign(material);
}

bool TGxCustomSceneObject::NeedsBlending() const
{
    return m_material->Blended();
}
