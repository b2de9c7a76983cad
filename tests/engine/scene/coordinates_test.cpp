#include "engine/scene/GxCoordinates.h"
#include "base/GxException.h"
#include "support/VectorAsserts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

// An owner that is not a scene object: it only hears NotifyChange.
class RecordingOwner : public IGxChangeListener {
public:
    void NotifyChange(IGxChangeListener* sender) override { senders.push_back(sender); }
    std::vector<IGxChangeListener*> senders;
};

// An owner placed through holders: it hears CoordsChanged instead.
class RecordingComponent : public TGxCoordinatesUpdateAbleComponent {
public:
    void CoordsChanged(TGxCoordinates* which) override { changed.push_back(which); }
    void SignalChange() override { ++signalCount; }
    std::vector<TGxCoordinates*> changed;
    int signalCount = 0;
};

} // namespace

TEST(Coordinates, EveryOperationStoresItsResultAndNotifiesOnce)
{
    struct Case {
        const char* name;
        TGxCoordinatesStyle style;
        TGxVector start;
        std::function<void(TGxCoordinates4&)> op;
        TGxVector expected;
    };
    const TGxVector p = VectorMake(1, 2, 3, 0.5f);
    const Case cases[] = {
        {"SetX", UnknownStyle, p, [](auto& c) { c.SetX(9); }, VectorMake(9, 2, 3, 0.5f)},
        {"SetY", UnknownStyle, p, [](auto& c) { c.SetY(9); }, VectorMake(1, 9, 3, 0.5f)},
        {"SetZ", UnknownStyle, p, [](auto& c) { c.SetZ(9); }, VectorMake(1, 2, 9, 0.5f)},
        {"SetW", UnknownStyle, p, [](auto& c) { c.SetW(9); }, VectorMake(1, 2, 3, 9)},
        {"AssignPoint", PointStyle, p, [](auto& c) { c.AssignPoint(4, 5, 6); }, VectorMake(4, 5, 6, 1)},
        {"AssignVector3", VectorStyle, p, [](auto& c) { c.AssignVector(4, 5, 6); }, VectorMake(4, 5, 6, 0)},
        {"AssignVector4", VectorStyle, p, [](auto& c) { c.AssignVector(4, 5, 6, 7); }, VectorMake(4, 5, 6, 7)},
        {"Vector4 point", PointStyle, p, [](auto& c) { c.SetVector4(VectorMake(4, 5, 6, 7)); }, VectorMake(4, 5, 6, 1)},
        {"Vector4 vector", VectorStyle, p, [](auto& c) { c.SetVector4(VectorMake(4, 5, 6, 7)); }, VectorMake(4, 5, 6, 0)},
        {"Vector4 unknown", UnknownStyle, p, [](auto& c) { c.SetVector4(VectorMake(4, 5, 6, 7)); }, VectorMake(4, 5, 6, 7)},
        {"Vector3 point", PointStyle, p, [](auto& c) { c.SetVector3({4, 5, 6}); }, VectorMake(4, 5, 6, 1)},
        {"Vector3 unknown", UnknownStyle, p, [](auto& c) { c.SetVector3({4, 5, 6}); }, VectorMake(4, 5, 6, 0)},
        {"Translate keeps W", UnknownStyle, p, [](auto& c) { c.Translate(VectorMake(1, 1, 1, 5)); }, VectorMake(2, 3, 4, 0.5f)},
        {"Translate affine", UnknownStyle, p, [](auto& c) { c.Translate(TGxAffineVector{1, 1, 1}); }, VectorMake(2, 3, 4, 0.5f)},
        {"Rotate", UnknownStyle, VectorMake(1, 0, 0, 1),
         [](auto& c) { c.Rotate(VectorMake(0, 0, 1), DegToRad(90)); }, VectorMake(0, -1, 0, 1)},
        {"Normalize", UnknownStyle, VectorMake(0, 3, 4, 2), [](auto& c) { c.Normalize(); }, VectorMake(0, 0.6f, 0.8f, 2)},
    };
    for (const Case& c : cases) {
        RecordingOwner owner;
        TGxCoordinates4 coords(&owner, c.start, c.style);
        c.op(coords);
        EXPECT_TRUE(VectorNear(coords.Vector4(), c.expected)) << c.name;
        ASSERT_EQ(owner.senders.size(), 1u) << c.name;
        EXPECT_EQ(owner.senders[0], &coords) << c.name;
    }
}

TEST(Coordinates, AssigningTheWrongKindIsAnAssertionFailure)
{
    RecordingOwner owner;
    TGxCoordinates vector(&owner, VectorMake(0, 0, 1, 0), VectorStyle);
    TGxCoordinates point(&owner, PointMake(1, 2, 3), PointStyle);
    EXPECT_THROW(vector.AssignPoint(1, 1, 1), EGxAssertion);
    EXPECT_THROW(point.AssignVector(1, 1, 1), EGxAssertion);
    EXPECT_THROW(point.AssignVector(1, 1, 1, 0), EGxAssertion);
    EXPECT_EQ(vector.Vector4(), VectorMake(0, 0, 1, 0));
    EXPECT_EQ(point.Vector4(), PointMake(1, 2, 3));
    EXPECT_TRUE(owner.senders.empty());

    TGxCoordinates unknown(&owner, VectorMake(0, 0, 0, 3), UnknownStyle);
    EXPECT_NO_THROW(unknown.AssignPoint(1, 1, 1));
    EXPECT_NO_THROW(unknown.AssignVector(1, 1, 1));
}

TEST(Coordinates, CopyingAndSilentSetsDoNotNotify)
{
    RecordingOwner owner;
    TGxCoordinates a(&owner, VectorMake(1, 2, 3, 4), UnknownStyle);
    TGxCoordinates b(&owner, VectorMake(0, 0, 0, 0), VectorStyle);
    b.Assign(a);
    EXPECT_EQ(b.Vector4(), VectorMake(1, 2, 3, 4)); // W copied as is, whatever the style
    a.SetSilently(VectorMake(5, 6, 7, 8));
    EXPECT_EQ(a.Vector4(), VectorMake(5, 6, 7, 8));
    EXPECT_TRUE(owner.senders.empty());
    EXPECT_FLOAT_EQ(a.VectorLength(), std::sqrt(25.0f + 36 + 49));
}

TEST(Coordinates, UpdateBracketHoldsNotificationsAndCallbackRunsAfterOwner)
{
    RecordingOwner owner;
    TGxCoordinates c(&owner, VectorMake(0, 0, 0, 0), VectorStyle);
    std::vector<std::string> order;
    c.OnNotifyChange = [&](TGxUpdateAbleObject*) {
        order.push_back("callback after " + std::to_string(owner.senders.size()));
    };
    c.BeginUpdate();
    c.SetX(1);
    c.SetY(2);
    EXPECT_TRUE(owner.senders.empty());
    EXPECT_TRUE(order.empty());
    c.EndUpdate();
    EXPECT_EQ(owner.senders.size(), 1u);
    EXPECT_EQ(order, std::vector<std::string>{"callback after 1"});
}

TEST(Coordinates, ASceneObjectOwnerHearsOnlyCoordsChanged)
{
    RecordingComponent owner;
    TGxCoordinates c(&owner, VectorMake(0, 0, 1, 0), VectorStyle);
    bool callbackRan = false;
    c.OnNotifyChange = [&](TGxUpdateAbleObject*) { callbackRan = true; };
    c.SetZ(2);
    c.Normalize();
    ASSERT_EQ(owner.changed.size(), 2u);
    EXPECT_EQ(owner.changed[0], &c);
    EXPECT_EQ(owner.signalCount, 0);
    EXPECT_FALSE(callbackRan);

    // Seen through the general listener type too.
    IGxChangeListener* asListener = &owner;
    TGxCoordinates d(asListener, PointMake(0, 0, 0), PointStyle);
    d.SetX(1);
    EXPECT_EQ(owner.changed.back(), &d);
}
