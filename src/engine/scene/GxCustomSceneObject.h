#pragma once

#include "engine/scene/GxBaseSceneObject.h"

#include "engine/scene/GxRareText.h"

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
    // rebuilds the recorded geometry. A material shared with other objects
    // (see ShareMaterial) is copied here first: what is changed through
    // this reference changes this object alone.
    TGxMaterial& Material();
    const TGxMaterial& Material() const { return *m_material; }
    void SetMaterial(const TGxMaterial& material);
    // The material as it is, shared or not, for applying it around drawing.
    TGxMaterial& DrawingMaterial() const { return *m_material; }

    // From now on this object draws with `source`'s material, which holds
    // one copy for both until either changes it. Nothing happens unless
    // both materials are plain; meant for objects whose materials are kept
    // equal, like a house and its walls: a town has hundreds of thousands.
    // Told as a change of this object's material.
    void ShareMaterial(TGxCustomSceneObject& source);
    // True while this object's material is held elsewhere too: by another
    // object, or the untouched default every object starts with.
    bool SharesMaterial() const { return m_material.use_count() > 1; }
    bool NeedsBlending() const override;

    const std::string& Hint() const { return m_hint.Get(); }
    void SetHint(const std::string& hint) { m_hint.Set(hint); }

    // The scene's last rendered object; the material around each pass of
    // the geometry unless the pass ignores materials; then the children.
    void RenderSelf(TRenderContextInfo& rci, bool renderSelf, bool renderChildren) override;

private:
    std::shared_ptr<TGxMaterial> m_material;
    TGxRareText m_hint;
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
