#pragma once

#include "engine/scene/GxCallback.h"

// Change notification between the engine's objects. A part (a colour, a face,
// a material, a texture, a coordinate holder) tells its owner when it changed;
// the owner passes it on until it reaches a scene object, the scene and the
// viewers that draw it.
class IGxChangeListener {
public:
    // A part owned by this object changed.
    virtual void NotifyChange(IGxChangeListener* sender) = 0;
    // Something this object's recorded geometry depends on changed (texture
    // use, material link): scene objects mark their geometry dirty, library
    // materials pass it to their users. Default: nothing.
    virtual void StructureChanged() {}

protected:
    ~IGxChangeListener() = default;
};

// An owned part with an optional owner to notify and an update bracket that
// holds notifications back while it is open.
class TGxUpdateAbleObject;

using TGxChangeCallback = TGxCallback<void(TGxUpdateAbleObject*)>;

class TGxUpdateAbleObject : public IGxChangeListener {
public:
    explicit TGxUpdateAbleObject(IGxChangeListener* owner) : m_owner(owner) {}
    virtual ~TGxUpdateAbleObject() = default;
    TGxUpdateAbleObject(const TGxUpdateAbleObject&) = delete;
    TGxUpdateAbleObject& operator=(const TGxUpdateAbleObject&) = delete;

    IGxChangeListener* Owner() const { return m_owner; }

    void BeginUpdate() { ++m_updateCount; }
    void EndUpdate()
    {
        if (m_updateCount > 0 && --m_updateCount == 0)
            NotifyChange(this);
    }
    int UpdateCount() const { return m_updateCount; }

    // Tells the owner (unless inside an update bracket), then runs the callback.
    void NotifyChange(IGxChangeListener* sender) override
    {
        if (m_updateCount > 0)
            return;
        if (m_owner)
            m_owner->NotifyChange(this);
        if (OnNotifyChange)
            OnNotifyChange(this);
    }

    // Optional callback run after the owner was told.
    TGxChangeCallback OnNotifyChange;

protected:
    void SetOwner(IGxChangeListener* owner) { m_owner = owner; }

private:
    IGxChangeListener* m_owner;
    int m_updateCount = 0;
};
