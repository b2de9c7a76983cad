#include "engine/scene/GxComponent.h"

#include <algorithm>

TGxComponent::TGxComponent(TGxComponent* owner)
{
    if (owner)
        owner->InsertComponent(this);
}

TGxComponent::~TGxComponent()
{
    m_destroying = true;
    SendFreeNotifications();
    DestroyComponents();
    if (m_owner)
        m_owner->RemoveComponent(this);
}

void TGxComponent::InsertComponent(TGxComponent* component)
{
    if (!component || component->m_owner == this)
        return;
    if (component->m_owner)
        component->m_owner->RemoveComponent(component);
    component->m_owner = this;
    component->m_prevOwned = m_lastOwned;
    component->m_nextOwned = nullptr;
    if (m_lastOwned)
        m_lastOwned->m_nextOwned = component;
    else
        m_firstOwned = component;
    m_lastOwned = component;
    ++m_ownedCount;
    Notification(component, opInsert);
}

void TGxComponent::RemoveComponent(TGxComponent* component)
{
    if (!component || component->m_owner != this)
        return;
    Notification(component, opRemove);
    unlinkOwned(component);
}

void TGxComponent::unlinkOwned(TGxComponent* component)
{
    if (component->m_prevOwned)
        component->m_prevOwned->m_nextOwned = component->m_nextOwned;
    else
        m_firstOwned = component->m_nextOwned;
    if (component->m_nextOwned)
        component->m_nextOwned->m_prevOwned = component->m_prevOwned;
    else
        m_lastOwned = component->m_prevOwned;
    component->m_prevOwned = component->m_nextOwned = nullptr;
    component->m_owner = nullptr;
    --m_ownedCount;
}

std::vector<TGxComponent*> TGxComponent::Components() const
{
    std::vector<TGxComponent*> result;
    result.reserve(m_ownedCount);
    for (TGxComponent* c = m_firstOwned; c; c = c->m_nextOwned)
        result.push_back(c);
    return result;
}

TGxComponent* TGxComponent::FindComponent(std::string_view name) const
{
    if (name.empty())
        return nullptr;
    for (TGxComponent* c = m_firstOwned; c; c = c->m_nextOwned)
        if (c->Name() == name)
            return c;
    return nullptr;
}

void TGxComponent::DestroyComponents()
{
    while (TGxComponent* c = m_lastOwned) {
        // Off the list first, so that its destructor does not come back here.
        RemoveComponent(c);
        delete c;
    }
}

void TGxComponent::FreeNotification(TGxComponent* other)
{
    if (!other || other == this)
        return;
    addFreeLink(other);
    other->addFreeLink(this);
}

void TGxComponent::RemoveFreeNotification(TGxComponent* other)
{
    if (!other)
        return;
    removeFreeLink(other);
    other->removeFreeLink(this);
}

void TGxComponent::addFreeLink(TGxComponent* other)
{
    if (!m_freeNotifies)
        m_freeNotifies = std::make_unique<std::vector<TGxComponent*>>();
    if (std::find(m_freeNotifies->begin(), m_freeNotifies->end(), other) == m_freeNotifies->end())
        m_freeNotifies->push_back(other);
}

void TGxComponent::removeFreeLink(TGxComponent* other)
{
    if (m_freeNotifies)
        m_freeNotifies->erase(std::remove(m_freeNotifies->begin(), m_freeNotifies->end(), other),
                              m_freeNotifies->end());
}

void TGxComponent::SendFreeNotifications()
{
    while (m_freeNotifies && !m_freeNotifies->empty()) {
        TGxComponent* other = m_freeNotifies->back();
        m_freeNotifies->pop_back();
        other->removeFreeLink(this);
        other->Notification(this, opRemove);
    }
}

void TGxComponent::EndLoading()
{
    if (!m_loading)
        return;
    m_loading = false;
    Loaded();
}
