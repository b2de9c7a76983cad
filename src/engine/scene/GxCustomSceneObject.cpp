#include "engine/scene/GxCustomSceneObject.h"

#include "engine/materials/GxMaterial.h"

namespace {

// Every object starts with this one, shared and never changed: the first
// change through Material() makes the object its own copy, and a town's
// walls take their house's material without ever making one.
const std::shared_ptr<TGxMaterial>& defaultMaterial()
{
    static const std::shared_ptr<TGxMaterial> material = std::make_shared<TGxMaterial>(nullptr);
    return material;
}

} // namespace

TGxCustomSceneObject::TGxCustomSceneObject(TGxComponent* owner)
    : TGxBaseSceneObject(owner), m_material(defaultMaterial())
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
