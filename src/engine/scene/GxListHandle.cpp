// Buffer objects are OpenGL 1.5: their prototypes come with the extension header.
#define GL_GLEXT_PROTOTYPES
#include "engine/scene/GxListHandle.h"

#include <GL/glext.h>

#include <QCoreApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QTimer>

#include <map>
#include <vector>

namespace {

struct PendingLists {
    QPointer<QOpenGLContextGroup> group;
    std::vector<GLuint> names;
    std::vector<GLuint> buffers;
    std::vector<GLuint> textures;
};

// Keyed by the group's address; an entry whose group has gone is dropped.
std::map<const QOpenGLContextGroup*, PendingLists>& pending()
{
    static std::map<const QOpenGLContextGroup*, PendingLists> lists;
    return lists;
}

bool g_flushScheduled = false;

void deleteNames(const PendingLists& entry)
{
    for (GLuint name : entry.names)
        glDeleteLists(name, 1);
    if (!entry.buffers.empty())
        glDeleteBuffers(GLsizei(entry.buffers.size()), entry.buffers.data());
    if (!entry.textures.empty())
        glDeleteTextures(GLsizei(entry.textures.size()), entry.textures.data());
}

void deleteName(TGxListHandle::Kind kind, GLuint name)
{
    switch (kind) {
    case TGxListHandle::DisplayList: glDeleteLists(name, 1); break;
    case TGxListHandle::BufferObject: glDeleteBuffers(1, &name); break;
    case TGxListHandle::TextureObject: glDeleteTextures(1, &name); break;
    }
}

std::vector<GLuint>& queueOf(PendingLists& entry, TGxListHandle::Kind kind)
{
    if (kind == TGxListHandle::DisplayList)
        return entry.names;
    return kind == TGxListHandle::BufferObject ? entry.buffers : entry.textures;
}

// Makes a context of the group current on `surface` and deletes the
// entry's names there; false when none of them can be made current.
bool deleteInGroup(const PendingLists& entry, QOffscreenSurface& surface)
{
    for (QOpenGLContext* context : entry.group->shares()) {
        surface.destroy();
        surface.setFormat(context->format());
        surface.create();
        if (context->makeCurrent(&surface)) {
            deleteNames(entry);
            context->doneCurrent();
            return true;
        }
    }
    return false;
}

// Deletes what is queued for groups that still exist, making one of each
// group's contexts current on a helper surface, then puts the caller's
// context (and its framebuffer) back. A group none of whose contexts can be
// made current keeps its names until one can (here or in DeletePendingLists).
void flushEverywhere()
{
    g_flushScheduled = false;
    auto& all = pending();
    if (all.empty())
        return;
    QOpenGLContext* previous = QOpenGLContext::currentContext();
    QSurface* previousSurface = previous ? previous->surface() : nullptr;
    GLint previousFramebuffer = 0;
    if (previous)
        glGetIntegerv(GL_FRAMEBUFFER_BINDING, &previousFramebuffer);
    for (auto it = all.begin(); it != all.end();) {
        PendingLists& entry = it->second;
        // A group without contexts took its names with it.
        if (entry.group && !entry.group->shares().isEmpty()) {
            QOffscreenSurface surface;
            if (!deleteInGroup(entry, surface)) {
                ++it;
                continue;
            }
        }
        it = all.erase(it);
    }
    if (previous && previousSurface && previous->makeCurrent(previousSurface))
        QOpenGLContext::currentContext()->functions()->glBindFramebuffer(GL_FRAMEBUFFER, GLuint(previousFramebuffer));
}

void scheduleFlush()
{
    if (g_flushScheduled || !QCoreApplication::instance())
        return;
    g_flushScheduled = true;
    QTimer::singleShot(0, QCoreApplication::instance(), [] { flushEverywhere(); });
}

} // namespace

bool TGxListHandle::UsableHere() const
{
    if (!m_name)
        return false;
    const QOpenGLContext* current = QOpenGLContext::currentContext();
    if (m_madeWithoutQt)
        return current == nullptr;
    return current && m_group && current->shareGroup() == m_group;
}

bool TGxListHandle::Orphaned() const
{
    return m_name && !m_madeWithoutQt && !m_group;
}

GLuint TGxListHandle::Allocate()
{
    Release();
    const QOpenGLContext* current = QOpenGLContext::currentContext();
    if (m_kind == DisplayList)
        m_name = glGenLists(1);
    else
        glGenBuffers(1, &m_name);
    m_group = current ? current->shareGroup() : nullptr;
    m_madeWithoutQt = current == nullptr;
    return m_name;
}

void TGxListHandle::Release()
{
    if (!m_name)
        return;
    const GLuint name = m_name;
    m_name = 0;
    const QOpenGLContext* current = QOpenGLContext::currentContext();
    if (m_madeWithoutQt) {
        // Made in a context Qt does not manage: delete it if that kind of
        // context is what is current now, else there is nothing to reach.
        if (!current)
            deleteName(m_kind, name);
        return;
    }
    ReleaseName(m_kind, m_group.data(), name);
}

void TGxListHandle::ReleaseName(Kind kind, QOpenGLContextGroup* group, GLuint name)
{
    if (!group || !name)
        return; // every context of the group is gone, and the name with them
    const QOpenGLContext* current = QOpenGLContext::currentContext();
    if (current && current->shareGroup() == group) {
        deleteName(kind, name);
        return;
    }
    PendingLists& entry = pending()[group];
    if (entry.group != group) {
        // a group that has gone, whose address came back
        entry = PendingLists{};
    }
    entry.group = group;
    queueOf(entry, kind).push_back(name);
    scheduleFlush();
}

void TGxListHandle::DeletePendingLists()
{
    const QOpenGLContext* current = QOpenGLContext::currentContext();
    if (!current)
        return;
    auto& all = pending();
    for (auto it = all.begin(); it != all.end();) {
        if (!it->second.group) {
            it = all.erase(it); // gone with its lists
        } else if (it->second.group == current->shareGroup()) {
            deleteNames(it->second);
            it = all.erase(it);
        } else {
            ++it;
        }
    }
}

std::size_t TGxListHandle::PendingCount()
{
    std::size_t n = 0;
    for (const auto& [key, entry] : pending())
        if (entry.group)
            n += entry.names.size() + entry.buffers.size() + entry.textures.size();
    return n;
}
