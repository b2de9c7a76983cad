#include "engine/materials/GxTextureEx.h"

#include "engine/materials/GxGlApi.h"
#include "engine/materials/GxGlCaps.h"
#include "engine/materials/GxMaterialContext.h"
#include "engine/materials/GxStateCache.h"
#include "engine/materials/GxTexCoordRouter.h"
#include "engine/materials/GxTextureMatrix.h"

TGxTextureExItem::TGxTextureExItem(IGxChangeListener* owner, int id)
    : TGxUpdateAbleObject(owner), m_texture(this), m_id(id), m_textureIndex(id)
{
}

void TGxTextureExItem::SetTextureIndex(int v)
{
    if (v < 0)
        v = 0;
    if (v == m_textureIndex)
        return;
    m_textureIndex = v;
    NotifyChange(this);
}

void TGxTextureExItem::SetTextureOffset(const std::array<float, 3>& v)
{
    m_transform.SetOffset(v);
    NotifyChange(this);
}

void TGxTextureExItem::SetTextureScale(const std::array<float, 3>& v)
{
    m_transform.SetScale(v);
    NotifyChange(this);
}

std::string TGxTextureExItem::DisplayName() const
{
    return "Tex [" + std::to_string(m_textureIndex) + "]";
}

void TGxTextureExItem::Assign(const TGxTextureExItem& source)
{
    m_texture.Assign(source.m_texture);
    m_textureIndex = source.m_textureIndex;
    m_transform = source.m_transform;
    NotifyChange(this);
}

TGxTextureExItem& TGxTextureEx::Add()
{
    m_items.push_back(std::make_unique<TGxTextureExItem>(m_owner, m_nextId++));
    return *m_items.back();
}

void TGxTextureEx::Delete(int i)
{
    m_items.erase(m_items.begin() + i);
}

void TGxTextureEx::Clear()
{
    m_items.clear();
}

void TGxTextureEx::Assign(const TGxTextureEx& source)
{
    m_items.clear();
    for (const auto& item : source.m_items)
        Add().Assign(*item);
}

bool TGxTextureEx::IsTextureEnabled(int unit) const
{
    for (const auto& item : m_items)
        if (item->TextureIndex() == unit && item->Texture().Enabled())
            return true;
    return false;
}

void TGxTextureEx::Apply(TGxMaterialContext& context)
{
    const TGxGlCaps& caps = GxGlCaps();
    if (!caps.multitexture)
        return;
    TGxStateCache& cache = *context.stateCache;
    std::vector<int> extraUnits;
    for (auto& item : m_items) {
        item->Applied = false;
        const int unit = item->TextureIndex();
        if (unit >= caps.maxTextureUnits || item->Texture().Disabled())
            continue;
        cache.SetActiveTexture(unit);
        GxGl().MatrixMode(GL_TEXTURE);
        GxGl().PushMatrix();
        if (item->TextureMatrixIsIdentity())
            GxGl().LoadIdentity();
        else
            GxGl().LoadMatrixf(item->TextureMatrix().data());
        GxGl().MatrixMode(GL_MODELVIEW);
        cache.SetActiveTexture(0);
        if (unit == 0)
            item->Texture().ApplyState(context);
        else
            item->Texture().ApplyAsTextureN(unit, context);
        item->Applied = true;
        if (unit >= 1 && item->Texture().MappingMode() == tmmUser)
            extraUnits.push_back(unit);
    }
    if (!extraUnits.empty())
        TGxTexCoordRouter::AddUnits(extraUnits);
}

void TGxTextureEx::UnApply(TGxMaterialContext& context)
{
    if (!GxGlCaps().multitexture)
        return;
    TGxStateCache& cache = *context.stateCache;
    for (auto& item : m_items) {
        if (!item->Applied)
            continue;
        const int unit = item->TextureIndex();
        if (unit == 0)
            item->Texture().RestoreState(context);
        else
            item->Texture().UnApplyAsTextureN(unit, context);
        cache.SetActiveTexture(unit);
        GxGl().MatrixMode(GL_TEXTURE);
        GxGl().PopMatrix();
        GxGl().MatrixMode(GL_MODELVIEW);
        cache.SetActiveTexture(0);
        item->Applied = false;
    }
}
