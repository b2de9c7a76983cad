#include "engine/scene/GxPickList.h"

#include "engine/scene/GxBaseSceneObject.h"

#include <QString>

#include <algorithm>

namespace {
QString objectName(const TGxBaseSceneObject* object)
{
    return object ? QString::fromStdString(object->Name()) : QString();
}
} // namespace

bool TGxPickList::before(const TPickRecord& a, const TPickRecord& b) const
{
    switch (m_sortMode) {
    case psName:
        return objectName(a.PickedObject).compare(objectName(b.PickedObject), Qt::CaseInsensitive) < 0;
    case psMinDepth: return a.NearDepth < b.NearDepth;
    case psMaxDepth: return a.FarDepth < b.FarDepth;
    default: return false;
    }
}

void TGxPickList::AddHit(TGxBaseSceneObject* object, TPickSubObjects subNames, float nearDepth, float farDepth)
{
    TPickRecord record{object, std::move(subNames), nearDepth, farDepth};
    // The list is always sorted: inserting after the last hit that does not
    // come later keeps it so without sorting it all again.
    const auto at = m_sortMode == psDefault
                        ? m_records.end()
                        : std::upper_bound(m_records.begin(), m_records.end(), record,
                                           [this](const TPickRecord& a, const TPickRecord& b) { return before(a, b); });
    m_records.insert(at, std::move(record));
}
