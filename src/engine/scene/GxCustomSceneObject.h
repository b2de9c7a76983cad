#pragma once

#include "engine/scene/GxBaseSceneObject.h"

#include <string>

// A scene object that carries a material.
class TGxCustomSceneObject : public TGxBaseSceneObject {
public:
    explicit TGxCustomSceneObject(TGxComponent* owner);
    std::string_view ClassName() const override { return "TGxCustomSceneObject"; }

    // Material(): the owned TGxMaterial, created with the object, goes here.

    const std::string& Hint() const { return m_hint; }
    void SetHint(const std::string& hint) { m_hint = hint; }

private:
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
};
