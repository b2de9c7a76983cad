#pragma once

#include "engine/scene/GxRareText.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

enum TGxOperation { opInsert, opRemove };

// A named object with an owner that frees it. An owner frees everything it
// owns when it is freed; freeing an owned component takes it off its owner's
// list. A component can also ask to be told when another one is freed
// (FreeNotification), so that it forgets its pointer to it.
class TGxComponent {
public:
    explicit TGxComponent(TGxComponent* owner = nullptr);
    virtual ~TGxComponent();
    TGxComponent(const TGxComponent&) = delete;
    TGxComponent& operator=(const TGxComponent&) = delete;

    // The class name as the rest of the program compares it ("Thouse",
    // "TGxSprite"): every class overrides it with its own name.
    virtual std::string_view ClassName() const { return "TGxComponent"; }

    TGxComponent* Owner() const { return m_owner; }
    const std::string& Name() const { return m_name.Get(); }
    void SetName(const std::string& name) { m_name.Set(name); }
    int Tag() const { return m_tag; }
    void SetTag(int tag) { m_tag = tag; }

    // Ownership: InsertComponent takes a component over from its previous
    // owner; RemoveComponent gives it up without freeing it.
    void InsertComponent(TGxComponent* component);
    void RemoveComponent(TGxComponent* component);
    int ComponentCount() const { return m_ownedCount; }
    std::vector<TGxComponent*> Components() const; // in the order they were added
    TGxComponent* FindComponent(std::string_view name) const;
    // Frees every owned component, the most recently added first.
    void DestroyComponents();

    // After this call `other` gets Notification(this, opRemove) when this
    // component is freed, and the reverse. Either side may be freed first.
    void FreeNotification(TGxComponent* other);
    void RemoveFreeNotification(TGxComponent* other);

    // The loading bracket: while it is open property setters only store
    // values (the way objects are restored from a stored definition);
    // closing it calls Loaded().
    void BeginLoading() { m_loading = true; }
    void EndLoading();
    bool IsLoading() const { return m_loading; }
    bool IsDestroying() const { return m_destroying; }

protected:
    // `component` is being freed (opRemove) or was given to this owner (opInsert).
    // Called while it is being destroyed: compare the pointer, do not use it.
    virtual void Notification(TGxComponent* component, TGxOperation operation) {}
    virtual void Loaded() {}
    void MarkDestroying() { m_destroying = true; }
    // Tells every component that asked for it that this one is going. Runs
    // again harmlessly from the base destructor; derived destructors call it
    // first so that nobody uses a half-destroyed object.
    void SendFreeNotifications();

private:
    void unlinkOwned(TGxComponent* component);
    void addFreeLink(TGxComponent* other);
    void removeFreeLink(TGxComponent* other);

    TGxComponent* m_owner = nullptr;
    // Owned components as an intrusive list: freeing one of many thousands
    // of scene objects must not search a list.
    TGxComponent* m_firstOwned = nullptr;
    TGxComponent* m_lastOwned = nullptr;
    TGxComponent* m_prevOwned = nullptr;
    TGxComponent* m_nextOwned = nullptr;
    int m_ownedCount = 0;
    // Made on the first link: few components ever watch another.
    std::unique_ptr<std::vector<TGxComponent*>> m_freeNotifies;
    TGxRareText m_name;
    int m_tag = 0;
    bool m_loading = false;
    bool m_destroying = false;
};
