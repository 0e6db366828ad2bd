// The simulator and the PC side in one program (as a virtual scale device inside a test of the
// PC side will be): their record types share names but not layouts, so each keeps to its own
// namespace. Before, this file did not compile.
#include <gtest/gtest.h>

#include <type_traits>

#include "commodity/CommodityRecord.h"
#include "korvan-scale/RecordDecoder.h"
#include "korvan-scale/SalesRecords.h"
#include "link/JobRequest.h"
#include "link/SalesRecord.h"

static_assert(!std::is_same_v<korvan::CommodityRecord, korvan::sim::CommodityRecord>);
static_assert(!std::is_same_v<korvan::LabelHeader, korvan::sim::LabelHeader>);
static_assert(!std::is_same_v<korvan::SalesRecord, korvan::sim::SalesRecord>);

TEST(PeerNames, BothSidesRecordsLiveSideBySide) {
    korvan::SalesRecord read;
    read.fields = {"2026-03-01 08:00:00", "Apple", "1.000", "2.00", "2.00"};
    const korvan::sim::SalesRecord served = {read.fields[0], read.fields[1], read.fields[2],
                                             read.fields[3], read.fields[4]};
    EXPECT_EQ(korvan::sim::SalesRecords::wireLine(served), "2026-03-01 08:00:00\x0C"
                                                           "Apple\x0C"
                                                           "1.000\x0C"
                                                           "2.00\x0C"
                                                           "2.00\r\n");
    const auto decoded = korvan::sim::RecordDecoder::commodity("0000\x0C"
                                                               "Apple\x0C"
                                                               "5.00",
                                                               false);
    ASSERT_TRUE(decoded) << decoded.error;
    EXPECT_EQ(decoded.value->price, "5.00");
}
