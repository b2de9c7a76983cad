#include "engine/scene/GxPickIndex.h"

#include "engine/scene/GxBaseSceneObject.h"
#include "engine/scene/GxCameraInvariantObject.h"
#include "engine/scene/GxScene.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <unordered_set>

namespace {

// The finest cells are this wide; each level doubles it.
constexpr float kFinestCell = 1.0f;
constexpr int kLevels = 24;
// Cell coordinates beyond this are not kept in the grids (the key packs 29 bits).
constexpr double kCellLimit = double(1 << 27);
// A query that would look at more cells than this visits the whole tree instead.
constexpr std::size_t kMostCellsPerQuery = std::size_t(1) << 20;

struct Point2 {
    double x, y;
};

// The world matrix as the object's own WorldMatrix builds it, without
// making every object keep one.
TGxMatrix worldOf(const TGxBaseSceneObject& object)
{
    const TGxBaseSceneObject* parent = object.Parent();
    if (!parent || parent->IsSceneRoot())
        return object.ObjectMatrix();
    return MatrixMultiply(object.ObjectMatrix(), worldOf(*parent));
}

bool finite(const TGxAABB& box)
{
    return std::isfinite(box.Min.X) && std::isfinite(box.Min.Y) && std::isfinite(box.Min.Z)
           && std::isfinite(box.Max.X) && std::isfinite(box.Max.Y) && std::isfinite(box.Max.Z);
}

// Inverse of a 4 x 4 matrix in double precision; false when singular.
bool invert(const TGxMatrix& m, double out[4][4])
{
    double a[4][8];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 8; ++j)
            a[i][j] = j < 4 ? double(m.M[i][j]) : (j - 4 == i ? 1.0 : 0.0);
    for (int c = 0; c < 4; ++c) {
        int pivot = c;
        for (int r = c + 1; r < 4; ++r)
            if (std::fabs(a[r][c]) > std::fabs(a[pivot][c]))
                pivot = r;
        if (a[pivot][c] == 0.0 || !std::isfinite(a[pivot][c]))
            return false;
        std::swap(a[c], a[pivot]);
        const double d = a[c][c];
        for (double& v : a[c])
            v /= d;
        for (int r = 0; r < 4; ++r) {
            if (r == c)
                continue;
            const double f = a[r][c];
            for (int j = 0; j < 8; ++j)
                a[r][j] -= f * a[c][j];
        }
    }
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            out[i][j] = a[i][j + 4];
    return true;
}

double cross(const Point2& o, const Point2& a, const Point2& b)
{
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// Convex hull, counter-clockwise, without repeated points.
std::vector<Point2> convexHull(std::vector<Point2> points)
{
    std::sort(points.begin(), points.end(),
              [](const Point2& a, const Point2& b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
    if (points.size() < 3)
        return points;
    std::vector<Point2> hull(2 * points.size());
    std::size_t k = 0;
    for (const Point2& p : points) {
        while (k >= 2 && cross(hull[k - 2], hull[k - 1], p) <= 0)
            --k;
        hull[k++] = p;
    }
    for (std::size_t i = points.size() - 1, lower = k + 1; i-- > 0;) {
        while (k >= lower && cross(hull[k - 2], hull[k - 1], points[i]) <= 0)
            --k;
        hull[k++] = points[i];
    }
    hull.resize(k - 1);
    return hull;
}

// The x range of a convex polygon between two heights; false when it has none there.
bool xRangeInBand(const std::vector<Point2>& polygon, double y0, double y1, double& lo, double& hi)
{
    lo = std::numeric_limits<double>::infinity();
    hi = -lo;
    const std::size_t n = polygon.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Point2& a = polygon[i];
        if (a.y >= y0 && a.y <= y1) {
            lo = std::min(lo, a.x);
            hi = std::max(hi, a.x);
        }
        if (n < 2)
            continue;
        const Point2& b = polygon[(i + 1) % n];
        for (const double y : {y0, y1}) {
            if ((a.y - y) * (b.y - y) < 0) {
                const double x = a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y);
                lo = std::min(lo, x);
                hi = std::max(hi, x);
            }
        }
    }
    return lo <= hi;
}

} // namespace

// ---------------------------------------------------------------- TGxPickIndex

float TGxPickIndex::cellSize(int level) const
{
    return std::ldexp(kFinestCell, level);
}

std::uint64_t TGxPickIndex::cellKey(int level, std::int32_t x, std::int32_t y)
{
    return (std::uint64_t(level) << 58) | ((std::uint64_t(std::uint32_t(x)) & 0x1FFFFFFF) << 29)
           | (std::uint64_t(std::uint32_t(y)) & 0x1FFFFFFF);
}

void TGxPickIndex::Joined(TGxBaseSceneObject* object)
{
    if (!m_live || object->IsSceneRoot())
        return;
    if (object->m_pickEntry != 0)
        Moved(object);
    else
        object->m_pickEntry = newEntry(object);
}

void TGxPickIndex::Left(TGxBaseSceneObject* object)
{
    const std::uint32_t id = object->m_pickEntry;
    if (id == 0)
        return;
    object->m_pickEntry = 0;
    unlink(id);
    Entry& e = m_entries[id - 1];
    e.object = nullptr;
    e.place = Place::Free;
    // A queued entry is freed when the queue is worked through.
    if (!e.queued)
        m_freeIds.push_back(id);
}

void TGxPickIndex::Moved(TGxBaseSceneObject* object)
{
    const std::uint32_t id = object->m_pickEntry;
    if (id == 0)
        return;
    Entry& e = m_entries[id - 1];
    if (!e.queued) {
        e.queued = true;
        m_queue.push_back(id);
    }
}

void TGxPickIndex::SubtreeMoved(TGxBaseSceneObject* object)
{
    if (!m_live)
        return;
    Moved(object);
    for (int i = 0; i < object->Count(); ++i)
        SubtreeMoved(object->Children(i));
}

std::uint32_t TGxPickIndex::newEntry(TGxBaseSceneObject* object)
{
    std::uint32_t id;
    if (!m_freeIds.empty()) {
        id = m_freeIds.back();
        m_freeIds.pop_back();
        m_entries[id - 1] = Entry{};
    } else {
        m_entries.emplace_back();
        id = std::uint32_t(m_entries.size());
    }
    Entry& e = m_entries[id - 1];
    e.object = object;
    e.queued = true;
    m_queue.push_back(id);
    return id;
}

void TGxPickIndex::unlink(std::uint32_t id)
{
    Entry& e = m_entries[id - 1];
    if (e.place == Place::Always) {
        const std::uint32_t last = m_always.back();
        m_always[e.alwaysAt] = last;
        m_entries[last - 1].alwaysAt = e.alwaysAt;
        m_always.pop_back();
    } else if (e.place == Place::Gridded) {
        for (std::int32_t y = e.y0; y <= e.y1; ++y)
            for (std::int32_t x = e.x0; x <= e.x1; ++x) {
                const auto cell = m_cells.find(cellKey(e.level, x, y));
                if (cell == m_cells.end())
                    continue;
                std::vector<std::uint32_t>& ids = cell->second;
                const auto at = std::find(ids.begin(), ids.end(), id);
                if (at != ids.end()) {
                    *at = ids.back();
                    ids.pop_back();
                }
                if (ids.empty())
                    m_cells.erase(cell);
            }
        --m_levelCounts[e.level];
    }
    e.place = Place::Outside;
}

void TGxPickIndex::place(std::uint32_t id)
{
    Entry& e = m_entries[id - 1];
    TGxBaseSceneObject* object = e.object;
    // Only the object tree is drawn by a pick; below a camera-invariant
    // object the world matrices do not say where anything lands.
    bool cameraRelative = false;
    const TGxBaseSceneObject* top = object;
    for (const TGxBaseSceneObject* o = object; o; o = o->Parent()) {
        if (dynamic_cast<const TGxCameraInvariantObject*>(o))
            cameraRelative = true;
        top = o;
    }
    if (top != m_scene.ObjectRoot() || object == top) {
        e.place = Place::Outside;
        return;
    }
    TGxAABB local;
    bool gridded = !cameraRelative && !object->RenderFlags().Contains(TGxRenderFlag::NeverCull)
                   && object->GeometryBoundingBox(local) && !local.Empty();
    int level = 0;
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    if (gridded) {
        e.box = TransformAABB(local, worldOf(*object));
        const float extent = std::max(e.box.Max.X - e.box.Min.X, e.box.Max.Y - e.box.Min.Y);
        while (level < kLevels - 1 && extent > cellSize(level))
            ++level;
        const double size = cellSize(level);
        x0 = std::floor(e.box.Min.X / size);
        y0 = std::floor(e.box.Min.Y / size);
        x1 = std::floor(e.box.Max.X / size);
        y1 = std::floor(e.box.Max.Y / size);
        gridded = finite(e.box) && extent <= cellSize(level) && std::fabs(x0) < kCellLimit
                  && std::fabs(y0) < kCellLimit && std::fabs(x1) < kCellLimit && std::fabs(y1) < kCellLimit;
    }
    if (!gridded) {
        e.place = Place::Always;
        e.alwaysAt = std::uint32_t(m_always.size());
        m_always.push_back(id);
        return;
    }
    e.place = Place::Gridded;
    e.level = std::uint8_t(level);
    e.x0 = std::int32_t(x0);
    e.y0 = std::int32_t(y0);
    e.x1 = std::int32_t(x1);
    e.y1 = std::int32_t(y1);
    for (std::int32_t y = e.y0; y <= e.y1; ++y)
        for (std::int32_t x = e.x0; x <= e.x1; ++x)
            m_cells[cellKey(level, x, y)].push_back(id);
    ++m_levelCounts[level];
    if (!m_anyGridded) {
        m_lowest = e.box.Min.Z;
        m_highest = e.box.Max.Z;
        m_anyGridded = true;
    } else {
        m_lowest = std::min(m_lowest, e.box.Min.Z);
        m_highest = std::max(m_highest, e.box.Max.Z);
    }
}

void TGxPickIndex::build()
{
    m_live = true;
    m_levelCounts.assign(kLevels, 0);
    TGxBaseSceneObject* root = m_scene.ObjectRoot();
    if (!root)
        return;
    std::vector<TGxBaseSceneObject*> stack;
    for (int i = root->Count(); i-- > 0;)
        stack.push_back(root->Children(i));
    while (!stack.empty()) {
        TGxBaseSceneObject* object = stack.back();
        stack.pop_back();
        Joined(object);
        for (int i = object->Count(); i-- > 0;)
            stack.push_back(object->Children(i));
    }
}

void TGxPickIndex::refresh()
{
    if (!m_live)
        build();
    // Entries queued while this runs (none should be) wait for the next query.
    std::vector<std::uint32_t> queue;
    queue.swap(m_queue);
    for (const std::uint32_t id : queue) {
        Entry& e = m_entries[id - 1];
        e.queued = false;
        if (!e.object) {
            m_freeIds.push_back(id);
            continue;
        }
        unlink(id);
        place(id);
    }
}

std::size_t TGxPickIndex::GriddedCount()
{
    refresh();
    std::size_t n = 0;
    for (const std::uint32_t c : m_levelCounts)
        n += c;
    return n;
}

std::size_t TGxPickIndex::AlwaysCount()
{
    refresh();
    return m_always.size();
}

bool TGxPickIndex::Query(const TGxMatrix& modelViewProjection, std::vector<TGxBaseSceneObject*>& objects)
{
    refresh();
    double inverse[4][4];
    if (!invert(modelViewProjection, inverse))
        return false;
    // The eight corners of the volume in world coordinates.
    std::array<std::array<double, 3>, 8> corners;
    for (int c = 0; c < 8; ++c) {
        const double clip[4] = {c & 1 ? 1.0 : -1.0, c & 2 ? 1.0 : -1.0, c & 4 ? 1.0 : -1.0, 1.0};
        double p[4] = {0, 0, 0, 0};
        for (int j = 0; j < 4; ++j)
            for (int i = 0; i < 4; ++i)
                p[j] += clip[i] * inverse[i][j];
        if (!(std::fabs(p[3]) > 1e-300) || !std::isfinite(p[3]))
            return false;
        for (int j = 0; j < 3; ++j) {
            corners[c][j] = p[j] / p[3];
            if (!std::isfinite(corners[c][j]))
                return false;
        }
    }

    ++m_stamp;
    const auto take = [this, &objects](std::uint32_t id) {
        Entry& e = m_entries[id - 1];
        if (e.stamp == m_stamp)
            return;
        e.stamp = m_stamp;
        objects.push_back(e.object);
    };
    for (const std::uint32_t id : m_always)
        take(id);
    if (!m_anyGridded)
        return true;

    // The part of the volume between the lowest and the highest box, seen
    // from above: its corners lie on the volume's twelve edges.
    const double margin = 1e-3 * (1.0 + double(m_highest) - double(m_lowest));
    const double low = double(m_lowest) - margin;
    const double high = double(m_highest) + margin;
    std::vector<Point2> footprint;
    for (int a = 0; a < 8; ++a)
        for (int bit = 1; bit < 8; bit <<= 1) {
            if (a & bit)
                continue;
            const auto& p = corners[a];
            const auto& q = corners[a | bit];
            double t0 = 0.0, t1 = 1.0;
            const double dz = q[2] - p[2];
            if (dz == 0.0) {
                if (p[2] < low || p[2] > high)
                    continue;
            } else {
                double ta = (low - p[2]) / dz, tb = (high - p[2]) / dz;
                if (ta > tb)
                    std::swap(ta, tb);
                t0 = std::max(t0, ta);
                t1 = std::min(t1, tb);
                if (t0 > t1)
                    continue;
            }
            for (const double t : {t0, t1})
                footprint.push_back({p[0] + t * (q[0] - p[0]), p[1] + t * (q[1] - p[1])});
        }
    if (footprint.empty())
        return true;
    const std::vector<Point2> hull = convexHull(footprint);
    double minX = hull[0].x, maxX = minX, minY = hull[0].y, maxY = minY;
    for (const Point2& p : hull) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    const double slack = 1e-4 * (1.0 + std::max({std::fabs(minX), std::fabs(maxX), std::fabs(minY), std::fabs(maxY)}));

    std::size_t cellsSeen = 0;
    for (int level = 0; level < kLevels; ++level) {
        if (m_levelCounts[level] == 0)
            continue;
        const double size = cellSize(level);
        const double firstRow = std::floor((minY - slack) / size);
        const double lastRow = std::floor((maxY + slack) / size);
        const double columns = std::floor((maxX + slack) / size) - std::floor((minX - slack) / size) + 1;
        if ((lastRow - firstRow + 1) * columns > double(kMostCellsPerQuery))
            return false;
        for (double row = firstRow; row <= lastRow; ++row) {
            double lo = minX, hi = maxX;
            if (hull.size() >= 3 && !xRangeInBand(hull, row * size - slack, (row + 1) * size + slack, lo, hi))
                continue;
            const double firstColumn = std::floor((lo - slack) / size);
            const double lastColumn = std::floor((hi + slack) / size);
            if (std::fabs(row) >= kCellLimit || std::fabs(firstColumn) >= kCellLimit || std::fabs(lastColumn) >= kCellLimit)
                return false;
            for (double column = firstColumn; column <= lastColumn; ++column) {
                if (++cellsSeen > kMostCellsPerQuery)
                    return false;
                const auto cell = m_cells.find(cellKey(level, std::int32_t(column), std::int32_t(row)));
                if (cell != m_cells.end())
                    for (const std::uint32_t id : cell->second)
                        take(id);
            }
        }
    }
    return true;
}

// ---------------------------------------------------------------- TGxPickVisit

void TGxPickVisit::Build(const std::vector<TGxBaseSceneObject*>& candidates, const TGxBaseSceneObject* root)
{
    std::vector<Link> links;
    links.reserve(candidates.size() * 2);
    std::unordered_set<const TGxBaseSceneObject*> seen;
    seen.reserve(candidates.size() * 2);
    for (TGxBaseSceneObject* candidate : candidates)
        for (TGxBaseSceneObject* o = candidate; o && o != root && o->Parent(); o = o->Parent()) {
            if (!seen.insert(o).second)
                break; // it and its ancestors are in already
            links.push_back({o->Parent(), o->IndexInParent(), o});
        }
    std::sort(links.begin(), links.end(), [](const Link& a, const Link& b) {
        return a.parent != b.parent ? std::less<const TGxBaseSceneObject*>()(a.parent, b.parent) : a.index < b.index;
    });
    m_parents.clear();
    m_children.clear();
    m_parents.reserve(links.size());
    m_children.reserve(links.size());
    for (const Link& link : links) {
        m_parents.push_back(link.parent);
        m_children.push_back(link.child);
    }
}

std::span<TGxBaseSceneObject* const> TGxPickVisit::ChildrenOf(const TGxBaseSceneObject* parent) const
{
    const auto less = std::less<const TGxBaseSceneObject*>();
    const auto first = std::lower_bound(m_parents.begin(), m_parents.end(), parent, less);
    const auto last = std::upper_bound(first, m_parents.end(), parent, less);
    return {m_children.data() + (first - m_parents.begin()), std::size_t(last - first)};
}
