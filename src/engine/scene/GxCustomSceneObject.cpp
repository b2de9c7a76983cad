#include "engine/scene/GxCustomSceneObject.h"

#include "engine/materials/GxMaterial.h"

TGxCustomSceneObject::TGxCustomSceneObject(TGxComponent* owner)
    : TGxBaseSceneObject(owner), m_material(std::make_shared<TGxMaterial>(this))
{
}

TGxCustomSceneObject::~TGxCustomSceneObject() = default;

TGxMaterial& TGxCustomSceneObject::Material()
{
    // Only a material this object owns alone tells it of changes.
    if (m_material.use_count() > 1 || m_material->Owner() != this) {
        if (m_material->Owner() == this)
            m_material->ReleaseOwner();
        m_material = m_material->PlainCopy(this);
    }
    return *m_material;
}

void TGxCustomSceneObject::SetMaterial(const TGxMaterial& material)
{
    Material().Assign(material);
}

void TGxCustomSceneObject::ShareMaterial(TGxCustomSceneObject& source)
{
    if (source.m_material == m_material || !source.m_material->IsPlain() || !m_material->IsPlain())
        return;
    source.m_material->ReleaseOwner();
    m_material = source.m_material;
    NotifyChange(m_material.get());
}

bool TGxCustomSceneObject::NeedsBlending() const
{
    return m_material->Blended();
}
