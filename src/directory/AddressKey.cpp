#include "directory/AddressKey.h"

#include "map/House.h"

AddressKey AddressKey::Of(const Thouse& house)
{
    return {house.params()[0], house.params()[1]};
}

AddressKey AddressKey::CutOf(const Thouse& house)
{
    return {house.params()[0].substr(0, OrgRecord::kStreetCapacity),
            house.params()[1].substr(0, OrgRecord::kHouseNoCapacity)};
}

bool AddressKey::Matches(const Thouse& house) const
{
    return house.params()[0] == street && house.params()[1] == houseNo;
}
