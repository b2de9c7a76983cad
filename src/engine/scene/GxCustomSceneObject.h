#pragma once

#include "engine/scene/GxBaseSceneObject.h"

#include <memory>
#include <string>

class TGxMaterial;

// A scene object that carries a material.
class TGxCustomSceneObject : public TGxBaseSceneObject {
public:
    explicit TGxCustomSceneObject(TGxComponent* owner);
    ~TGxCustomSceneObject() override;
    std::string_view ClassName() const override { return "TGxCustomSceneObject"; }

    // The object's own material, created with it. A change of its colours
    // redraws the scene; a change of its texture use or library link also
    // rebuilds the recorded geometry.
    TGxMaterial& Material() { return *m_material; }
    const TGxMaterial& Material() const { return *m_material; }
    void SetMaterial(const TGxMaterial& material);
    bool NeedsBlending() const override;

    const std::string& Hint() const { return m_hint; }
    void SetHint(const std::string& hint) { m_hint = hint; }

    // The scene's last rendered object; the material around each pass of
    // the geometry unless the pass ignores materials; then the children.
    void RenderSelf(TRenderContextInfo& rci, bool renderSelf, bool renderChildren) override;

private:
    std::unique_ptr<TGxMaterial> m_material;
    std::string m_hint;
};

// The scene object whose material is a published property.
class TGxSceneObject : public TGxCustomSceneObject {
public:
    using TGxCustomSceneObject::TGxCustomSceneObject;
    std::string_view ClassName() const override { return "TGxSceneObject"; }
};

// A scene object whose material is never applied.
class TGxImmaterialSceneObject : public TGxCustomSceneObject {
public:
    using TGxCustomSceneObject::TGxCustomSceneObject;
    std::string_view ClassName() const override { return "TGxImmaterialSceneObject"; }

    bool NeedsBlending() const override { return false; }
    void RenderSelf(TRenderContextInfo& rci, bool renderSelf, bool renderChildren) override;
};
