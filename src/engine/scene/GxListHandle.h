#pragma once

#include <GL/gl.h>
#include <QPointer>

class QOpenGLContextGroup;

// One OpenGL display list (or buffer object) and the group of sharing
// contexts it lives in. Released in a context of that group: at once when one
// is current, else queued until a context of the group is next made current
// by the engine (or the event loop comes round). A group that is gone took
// its lists with it.
class TGxListHandle {
public:
    enum Kind { DisplayList, BufferObject, TextureObject };
    explicit TGxListHandle(Kind kind = DisplayList) : m_kind(kind) {}
    ~TGxListHandle() { Release(); }
    TGxListHandle(const TGxListHandle&) = delete;
    TGxListHandle& operator=(const TGxListHandle&) = delete;

    GLuint Name() const { return m_name; }
    // The list can be replayed in the current context.
    bool UsableHere() const;
    // Every context that could reach the name has gone.
    bool Orphaned() const;
    // A fresh name in the current context; 0 when OpenGL has none.
    // A list held before is released first.
    GLuint Allocate();
    void Release();

    // Deletes a name of that kind made in a context of the group: at once when
    // one is current, else queued as a released list is. For names kept
    // elsewhere (textures).
    static void ReleaseName(Kind kind, QOpenGLContextGroup* group, GLuint name);

    // Deletes the queued lists of the current context's group.
    static void DeletePendingLists();
    // Lists released while no context of their group was current and not yet deleted.
    static std::size_t PendingCount();

private:
    GLuint m_name = 0;
    Kind m_kind;
    QPointer<QOpenGLContextGroup> m_group;
    bool m_madeWithoutQt = false; // a context Qt does not know was current
};
