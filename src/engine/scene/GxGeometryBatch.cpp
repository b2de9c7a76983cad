// Buffer objects are OpenGL 1.5: their prototypes come with the extension header.
#define GL_GLEXT_PROTOTYPES
#include "engine/scene/GxGeometryBatch.h"

#include "engine/materials/GxMaterial.h"
#include "engine/materials/GxTextureEx.h"
#include "engine/scene/GxCustomSceneObject.h"
#include "engine/scene/GxScene.h"
#include "engine/scene/RenderContextInfo.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstring>

namespace {

// x, y, z, nx, ny, nz
constexpr std::size_t kFloatsPerVertex = 6;
constexpr GLsizei kStride = GLsizei(kFloatsPerVertex * sizeof(float));

bool isIdentity(const TGxMatrix& m)
{
    static const TGxMatrix identity = IdentityMatrix();
    return std::memcmp(m.data(), identity.data(), sizeof(float) * 16) == 0;
}

// The material's settings as plain words: equal words, equal drawing.
void putFace(std::uint32_t*& out, const TGxFaceProperties& face)
{
    for (const TGxColor* c : {&face.Ambient(), &face.Diffuse(), &face.Emission(), &face.Specular()}) {
        std::memcpy(out, c->AsArray(), 4 * sizeof(float));
        out += 4;
    }
    *out++ = std::uint32_t(face.Shininess());
    *out++ = std::uint32_t(face.PolygonMode());
}

} // namespace

std::size_t TGxGeometryBatch::StateHash::operator()(const MaterialState& s) const
{
    std::uint64_t h = 1469598103934665603ull;
    for (std::uint32_t w : s) {
        h ^= w;
        h *= 1099511628211ull;
    }
    return std::size_t(h);
}

TGxGeometryBatch::~TGxGeometryBatch()
{
    reset();
}

void TGxGeometryBatch::reset()
{
    for (Entry& e : m_entries)
        if (e.object)
            e.object->m_batch = nullptr;
    m_entries.clear();
    m_tops.clear();
    m_dirtyTops.clear();
    m_blocks.clear();
    std::vector<float>().swap(m_staging);
    m_run = Run{};
    m_stats = Statistics{};
}

// ---------------------------------------------------------------- members

namespace {

// The buffer holds no texture coordinates.
bool needsTexCoords(const TGxMaterial& constMaterial)
{
    // Only read: the accessors create what is missing, and it is checked first.
    auto& material = const_cast<TGxMaterial&>(constMaterial);
    return material.LibMaterial() || (material.HasTexture() && !material.Texture().Disabled())
           || (material.HasTextureEx() && material.TextureEx().Count() > 0);
}

} // namespace

std::uint32_t TGxGeometryBatch::materialKey(const TGxMaterial& material)
{
    // Calls of the batch carry no blending or alpha test.
    if (needsTexCoords(material) || material.BlendingMode() != bmOpaque)
        return kNone;
    MaterialState state{};
    std::uint32_t* out = state.data();
    putFace(out, material.FrontProperties());
    *out++ = material.HasBackProperties() ? 1u : 0u;
    if (material.HasBackProperties())
        putFace(out, const_cast<TGxMaterial&>(material).BackProperties());
    else
        out += 18;
    *out++ = std::uint32_t(material.MaterialOptions());
    *out++ = std::uint32_t(material.FaceCulling());
    const auto [it, added] = m_keys.try_emplace(state, std::uint32_t(m_keys.size()));
    return it->second;
}

bool TGxGeometryBatch::enter(TGxBaseSceneObject* object, std::uint32_t top)
{
    if (object->m_batch || object->m_batchRefused || !dynamic_cast<TGxCustomSceneObject*>(object))
        return false;
    const auto index = std::uint32_t(m_entries.size());
    Entry& e = m_entries.emplace_back();
    e.object = object;
    e.top = top;
    e.dirty = MaterialChange | StateChange;
    for (int i = 0; i < object->Count(); ++i)
        if (!enter(object->Children(i), top))
            return false;
    m_entries[index].end = std::uint32_t(m_entries.size());
    return true;
}

bool TGxGeometryBatch::adopt(TGxBaseSceneObject* child)
{
    const std::size_t firstEntry = m_entries.size();
    const auto top = std::uint32_t(m_tops.size());
    if (!enter(child, top)) {
        m_entries.resize(firstEntry);
        // Not tried again until its geometry or its children change.
        child->m_batchRefused = true;
        return false;
    }
    for (std::size_t i = firstEntry; i < m_entries.size(); ++i) {
        m_entries[i].object->m_batch = this;
        m_entries[i].object->m_batchEntry = std::uint32_t(i);
    }
    Top& t = m_tops.emplace_back();
    t.entry = std::uint32_t(firstEntry);
    m_stats.members += m_entries.size() - firstEntry;
    processTop(top);
    return true;
}

bool TGxGeometryBatch::capture(std::uint32_t top)
{
    Top& t = m_tops[top];
    t.captured = true;
    const std::uint32_t end = m_entries[t.entry].end;
    std::vector<float> vertices;
    for (std::uint32_t i = t.entry; i < end; ++i) {
        Entry& e = m_entries[i];
        if (!e.object)
            continue;
        const std::size_t before = vertices.size();
        e.plain = e.object->CaptureTriangles(vertices);
        e.first = std::uint32_t(before / kFloatsPerVertex); // within the subtree until placed
        e.dirty &= std::uint8_t(~GeometryChange);
        if (e.plain)
            e.object->ClearChange(TGxObjectChange::Structure);
        else
            vertices.resize(before); // its display list draws it
        e.count = std::uint32_t((vertices.size() - before) / kFloatsPerVertex);
    }
    if (!m_entries[t.entry].plain) {
        // Not a kind of object the buffers can draw: let it go.
        TGxBaseSceneObject* child = m_entries[t.entry].object;
        Remove(child);
        child->m_batchRefused = true;
        return false;
    }
    const std::uint32_t base = place(vertices, 0);
    const auto block = std::uint32_t(m_blocks.size() - 1);
    for (std::uint32_t i = t.entry; i < end; ++i) {
        m_entries[i].block = block;
        m_entries[i].first += base;
    }
    processTop(top);
    return true;
}

std::uint32_t TGxGeometryBatch::place(const std::vector<float>& vertices, std::size_t from)
{
    const auto n = std::uint32_t((vertices.size() - from) / kFloatsPerVertex);
    // Objects first drawn after the block went to OpenGL (houses coming into
    // view as the camera moves) fill its room rather than start a buffer each.
    // A block still being filled takes anything while it is empty (a large
    // subtree gets a block of its own); one already in OpenGL has only the
    // room its buffer was made with, even when nothing is in it yet.
    const Block* last = m_blocks.empty() ? nullptr : m_blocks.back().get();
    const bool fits = last
                      && (last->uploaded ? std::uint64_t(last->vertices) + n <= last->capacity
                                         : last->vertices == 0 || std::uint64_t(last->vertices) + n <= kBlockVertices);
    if (!fits) {
        uploadOpenBlock();
        m_blocks.push_back(std::make_unique<Block>());
        m_stats.buffers = m_blocks.size();
    }
    Block& b = *m_blocks.back();
    const std::uint32_t first = b.vertices;
    if (b.uploaded) {
        glBindBuffer(GL_ARRAY_BUFFER, b.buffer.Name());
        glBufferSubData(GL_ARRAY_BUFFER, GLintptr(std::size_t(first) * kStride),
                        GLsizeiptr((vertices.size() - from) * sizeof(float)), vertices.data() + from);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
    } else {
        if (m_staging.capacity() == 0)
            m_staging.reserve(std::size_t(kBlockVertices) * kFloatsPerVertex);
        m_staging.insert(m_staging.end(), vertices.begin() + std::ptrdiff_t(from), vertices.end());
    }
    b.vertices += n;
    m_stats.vertices += n;
    m_stats.uploadedVertices += n;
    return first;
}

void TGxGeometryBatch::uploadOpenBlock()
{
    if (m_blocks.empty() || m_blocks.back()->uploaded)
        return;
    Block& b = *m_blocks.back();
    b.buffer.Allocate();
    // Room for a whole block: what is placed later is written behind. Pages
    // never written are never touched.
    b.capacity = std::max(b.vertices, kBlockVertices);
    glBindBuffer(GL_ARRAY_BUFFER, b.buffer.Name());
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(std::size_t(b.capacity) * kStride), nullptr, GL_STATIC_DRAW);
    glBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(m_staging.size() * sizeof(float)), m_staging.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    b.uploaded = true;
    // The buffer holds the vertices now; only a block's worth of room is kept.
    m_staging.clear();
}

void TGxGeometryBatch::MemberChanged(std::uint32_t entry, std::uint8_t change)
{
    if (entry >= m_entries.size() || !m_entries[entry].object)
        return;
    Entry& e = m_entries[entry];
    e.dirty |= change;
    Top& t = m_tops[e.top];
    if (!t.dirty) {
        t.dirty = true;
        m_dirtyTops.push_back(e.top);
    }
}

void TGxGeometryBatch::Remove(TGxBaseSceneObject* member)
{
    const std::uint32_t index = member->m_batchEntry;
    if (member->m_batch != this || index >= m_entries.size())
        return;
    Entry& e = m_entries[index];
    Top& t = m_tops[e.top];
    if (t.entry == index) {
        // A child of the parent leaves with its whole subtree.
        for (std::uint32_t i = index; i < e.end; ++i)
            if (TGxBaseSceneObject* o = m_entries[i].object) {
                o->m_batch = nullptr;
                m_entries[i].object = nullptr;
                --m_stats.members;
            }
        t.simple = false;
        return;
    }
    member->m_batch = nullptr;
    e.object = nullptr;
    --m_stats.members;
    MemberChanged(t.entry, StateChange);
}

void TGxGeometryBatch::refreshEntry(Entry& e)
{
    // Before its subtree is first captured there is nothing to rewrite.
    if ((e.dirty & GeometryChange) && m_tops[e.top].captured) {
        std::vector<float> vertices;
        if (!e.object->CaptureTriangles(vertices)) {
            e.plain = false;
        } else {
            const auto n = std::uint32_t(vertices.size() / kFloatsPerVertex);
            Block& b = *m_blocks[e.block];
            if (n == e.count && e.plain && n > 0) {
                // Over its own range.
                if (b.uploaded) {
                    glBindBuffer(GL_ARRAY_BUFFER, b.buffer.Name());
                    glBufferSubData(GL_ARRAY_BUFFER, GLintptr(std::size_t(e.first) * kStride),
                                    GLsizeiptr(vertices.size() * sizeof(float)), vertices.data());
                    glBindBuffer(GL_ARRAY_BUFFER, 0);
                } else {
                    std::copy(vertices.begin(), vertices.end(),
                              m_staging.begin() + std::ptrdiff_t(std::size_t(e.first) * kFloatsPerVertex));
                }
                m_stats.uploadedVertices += n;
            } else if (n == 0) {
                e.count = 0;
            } else {
                e.first = place(vertices, 0);
                e.block = std::uint32_t(m_blocks.size() - 1);
                e.count = n;
            }
            e.plain = true;
            e.object->ClearChange(TGxObjectChange::Structure);
        }
    }
    if (e.dirty & (MaterialChange | GeometryChange)) {
        const TGxMaterial& material = static_cast<const TGxCustomSceneObject*>(e.object)->Material();
        e.key = materialKey(material);
        e.textured = needsTexCoords(material);
    }
    e.dirty = 0;
}

bool TGxGeometryBatch::entrySimple(const Entry& e) const
{
    const TGxBaseSceneObject& o = *e.object;
    const TGxRenderFlags flags = o.RenderFlags();
    const TGxObjectsSorting sorting = o.ObjectsSorting();
    return e.plain && !e.textured && e.key != kNone && !o.ShowAxes() && !flags.Contains(TGxRenderFlag::DrawEveryFrame)
           && !flags.Contains(TGxRenderFlag::NoDepthTest) && !flags.Contains(TGxRenderFlag::ResetMaterialAfter)
           && (sorting == osInherited || sorting == osNone || sorting == osRenderBlendedLast)
           && !o.NeedsBlending() && isIdentity(o.ObjectMatrix());
}

// The object's subtree is still the members it was made of, in that order.
bool TGxGeometryBatch::structureIntact(const TGxBaseSceneObject* object, std::uint32_t& next) const
{
    while (next < m_entries.size() && !m_entries[next].object)
        ++next;
    if (object->m_batch != this || object->m_batchEntry != next)
        return false;
    ++next;
    for (int i = 0; i < object->Count(); ++i)
        if (!structureIntact(object->Children(i), next))
            return false;
    return true;
}

void TGxGeometryBatch::processTop(std::uint32_t top)
{
    Top& t = m_tops[top];
    t.dirty = false;
    const Entry& head = m_entries[t.entry];
    if (!head.object) {
        t.simple = false;
        return;
    }
    const std::uint32_t end = head.end;
    bool simple = t.captured;
    bool identity = true;
    bool contiguous = true;
    std::uint32_t key = kNone;
    bool firstLive = true;
    t.box = TGxAABB{};
    t.neverCull = false;
    const Entry* previous = nullptr;
    for (std::uint32_t i = t.entry; i < end; ++i) {
        Entry& e = m_entries[i];
        if (!e.object) {
            contiguous = false;
            continue;
        }
        if (e.dirty)
            refreshEntry(e);
        simple = simple && entrySimple(e);
        identity = identity && isIdentity(e.object->ObjectMatrix());
        if (firstLive)
            key = e.key;
        else if (key != e.key)
            key = kNone;
        firstLive = false;
        if (!e.object->Visible()
            || (previous && (previous->block != e.block || previous->first + previous->count != e.first)))
            contiguous = false;
        previous = &e;
        TGxAABB box;
        if (e.object->GeometryBoundingBox(box)) {
            if (!box.Empty())
                t.box.Include(box);
        } else {
            t.neverCull = true;
        }
        if (e.object->RenderFlags().Contains(TGxRenderFlag::NeverCull))
            t.neverCull = true;
    }
    std::uint32_t next = t.entry;
    bool intact = structureIntact(head.object, next);
    while (next < end && !m_entries[next].object)
        ++next;
    intact = intact && next == end;
    t.simple = simple && intact;
    // The box says where the subtree is drawn: whether the batch or the
    // traversal draws it, nothing of it can show when the box is out of view.
    t.cullable = intact && identity && !t.neverCull;
    t.contiguous = contiguous;
    t.key = key;
}

// ---------------------------------------------------------------- drawing

bool TGxGeometryBatch::BeginPass(TRenderContextInfo& rci)
{
    for (const auto& b : m_blocks) {
        if (!b->uploaded)
            continue;
        if (b->buffer.Orphaned()) {
            // Every context that could reach the buffers is gone: start again here.
            reset();
            break;
        }
        if (!b->buffer.UsableHere())
            return false;
        break;
    }
    m_stats.draws = 0;
    m_stats.culled = 0;
    m_stats.drawnOrdinarily = 0;
    m_run = Run{};
    // processTop may append to the list (a relocated range does not), so by index.
    for (std::size_t i = 0; i < m_dirtyTops.size(); ++i)
        if (m_tops[m_dirtyTops[i]].dirty)
            processTop(m_dirtyTops[i]);
    m_dirtyTops.clear();
    return true;
}

bool TGxGeometryBatch::Take(TGxBaseSceneObject* child, TRenderContextInfo& rci)
{
    if (child->m_batch != this) {
        if (child->m_batch || child->m_batchRefused || !adopt(child))
            return false;
    }
    const std::uint32_t top = m_entries[child->m_batchEntry].top;
    if (m_tops[top].entry != child->m_batchEntry)
        return false;
    if (m_tops[top].dirty)
        processTop(top);
    if (rci.viewCulling && m_tops[top].cullable
        && (m_tops[top].box.Empty() || IsBoxOutsideFrustum(rci.rcci.frustum, m_tops[top].box))) {
        ++m_stats.culled;
        return true;
    }
    // Geometry is captured the first time it may be seen.
    if (!m_tops[top].captured && !capture(top))
        return false;
    const Top& t = m_tops[top];
    if (!t.simple) {
        ++m_stats.drawnOrdinarily;
        return false;
    }
    const Entry& head = m_entries[t.entry];
    const std::uint32_t end = head.end;
    if (t.contiguous && t.key != kNone) {
        const Entry& last = m_entries[end - 1];
        append(t.entry, head.block, head.first, last.first + last.count - head.first, t.key, rci);
        m_run.lastEntry = end - 1;
        return true;
    }
    for (std::uint32_t i = t.entry; i < end;) {
        const Entry& e = m_entries[i];
        if (!e.object) {
            ++i;
        } else if (!e.object->Visible()) {
            i = e.end; // an invisible object hides its subtree
        } else {
            append(i, e.block, e.first, e.count, e.key, rci);
            ++i;
        }
    }
    return true;
}

void TGxGeometryBatch::append(std::uint32_t entry, std::uint32_t block, std::uint32_t first, std::uint32_t count,
                              std::uint32_t key, TRenderContextInfo& rci)
{
    if (count == 0)
        return;
    if (m_run.count > 0 && m_run.block == block && m_run.key == key && m_run.first + m_run.count == first) {
        m_run.count += count;
        m_run.lastEntry = entry;
        return;
    }
    Flush(rci);
    m_run = Run{block, first, count, key, entry, entry};
}

namespace {

// Vertex and normal arrays from the bound buffer for the scope; the
// ordinary drawing around it knows nothing of arrays or buffers.
class ArraysScope {
public:
    ArraysScope()
    {
        glVertexPointer(3, GL_FLOAT, kStride, nullptr);
        glNormalPointer(GL_FLOAT, kStride, reinterpret_cast<const void*>(3 * sizeof(float)));
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
    }
    ~ArraysScope()
    {
        glDisableClientState(GL_NORMAL_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
    }
    ArraysScope(const ArraysScope&) = delete;
    ArraysScope& operator=(const ArraysScope&) = delete;
};

// What drawing the object one by one leaves behind: the scene's last
// rendered object and OpenGL's current normal.
void leaveAsDrawn(TGxBaseSceneObject* last, TRenderContextInfo& rci)
{
    if (rci.scene)
        rci.scene->SetLastRenderedObject(last);
    TGxAffineVector normal;
    if (last->TrailingNormal(normal))
        glNormal3fv(normal.data());
}

} // namespace

void TGxGeometryBatch::Flush(TRenderContextInfo& rci)
{
    if (m_run.count == 0)
        return;
    const Run run = m_run;
    m_run = Run{};
    if (!m_blocks[run.block]->uploaded)
        uploadOpenBlock();
    auto* first = static_cast<TGxCustomSceneObject*>(m_entries[run.firstEntry].object);
    {
        glBindBuffer(GL_ARRAY_BUFFER, m_blocks[run.block]->buffer.Name());
        ArraysScope arrays;
        if (rci.ignoreMaterials) {
            glDrawArrays(GL_TRIANGLES, GLint(run.first), GLsizei(run.count));
        } else {
            TGxMaterial& material = first->DrawingMaterial();
            do {
                material.ApplyState(rci);
                glDrawArrays(GL_TRIANGLES, GLint(run.first), GLsizei(run.count));
            } while (material.RestoreState(rci));
        }
        glBindBuffer(GL_ARRAY_BUFFER, 0);
    }
    ++m_stats.draws;
    leaveAsDrawn(m_entries[run.lastEntry].object, rci);
}

void TGxGeometryBatch::EndPass(TRenderContextInfo& rci)
{
    Flush(rci);
    uploadOpenBlock();
    std::vector<float>().swap(m_staging);
}

bool TGxGeometryBatch::DrawMember(const TGxBaseSceneObject* member, TRenderContextInfo& rci)
{
    const std::uint32_t index = member->m_batchEntry;
    if (member->m_batch != this || index >= m_entries.size())
        return false;
    // Only in the contexts that reach the buffers.
    for (const auto& b : m_blocks)
        if (b->uploaded) {
            if (!b->buffer.UsableHere())
                return false;
            break;
        }
    if (m_tops[m_entries[index].top].dirty)
        processTop(m_entries[index].top);
    if (!m_tops[m_entries[index].top].captured && !capture(m_entries[index].top))
        return false;
    Entry& e = m_entries[index];
    if (!e.plain || e.textured)
        return false;
    if (e.count > 0) {
        if (!m_blocks[e.block]->uploaded) {
            uploadOpenBlock();
            std::vector<float>().swap(m_staging);
        }
        glBindBuffer(GL_ARRAY_BUFFER, m_blocks[e.block]->buffer.Name());
        {
            ArraysScope arrays;
            glDrawArrays(GL_TRIANGLES, GLint(e.first), GLsizei(e.count));
        }
        glBindBuffer(GL_ARRAY_BUFFER, 0);
    }
    TGxAffineVector normal;
    if (member->TrailingNormal(normal))
        glNormal3fv(normal.data());
    return true;
}
