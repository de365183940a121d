#include "model/ship_counts.h"

#include <gtest/gtest.h>

#include "support/state_fixture.h"

namespace velmora {
namespace {

using testing::NewState;
using testing::PlaceFleet;
using testing::SetClass;

TEST(ShipCountsTest, TypesAreCountedOnlyAboveDetailOne) {
    auto state = NewState();
    SetClass(*state, 1, kCarrier, 100);
    SetClass(*state, 2, kDestroyer, 100);
    const TFleet& fleet = PlaceFleet(*state, 14, {100, 100}, {1, 2, 2});
    for (int detail : {0, 1}) {
        const ShipTypeCounts counts = CountShipsByType(*state, fleet, detail);
        EXPECT_EQ(counts.Ships, 3) << detail;
        EXPECT_EQ(counts.Of(kCarrier), 0) << detail;
        EXPECT_EQ(counts.Of(kDestroyer), 0) << detail;
    }
    const ShipTypeCounts full = CountShipsByType(*state, fleet, 2);
    EXPECT_EQ(full.Of(kCarrier), 1);
    EXPECT_EQ(full.Of(kDestroyer), 2);
}

}  // namespace
}  // namespace velmora
