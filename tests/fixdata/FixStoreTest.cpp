#include "fixdata/FixStore.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

using namespace fixtally;

TEST(FixRecord, LayoutOffsetsAndRoundTrip) {
    FixRecord r;
    r.Time = 45000.25;
    r.Latitude = 35.5;
    r.Longitude = -139.25;
    r.SatsUsed = 12;
    r.FixQuality = u'4';
    r.SatsExtra = 3;
    r.DgpsFlag = 1;
    std::byte block[FixRecordSize];
    EncodeFixRecord(r, block);

    double lat;
    std::memcpy(&lat, block + 8, 8);
    EXPECT_EQ(lat, 35.5);
    EXPECT_EQ(std::to_integer<int>(block[64]), 12);
    EXPECT_EQ(std::to_integer<int>(block[65]), '4'); // UTF-16 LE low byte at the odd offset
    EXPECT_EQ(std::to_integer<int>(block[66]), 0);
    EXPECT_EQ(std::to_integer<int>(block[67]), 3);
    EXPECT_EQ(std::to_integer<int>(block[68]), 1);

    FixRecord back = DecodeFixRecord(block);
    std::byte again[FixRecordSize];
    EncodeFixRecord(back, again);
    EXPECT_EQ(std::memcmp(block, again, FixRecordSize), 0);
    EXPECT_TRUE(std::isnan(back.Altitude));
    EXPECT_EQ(back.FixQuality, u'4');
}

TEST(FixStore, AppendReadAndClear) {
    FixStore store;
    EXPECT_FALSE(store.Exists());
    store.Replace();
    for (int i = 0; i < 5; ++i) {
        FixRecord r;
        r.Time = 1 + i;
        r.FixQuality = i == 4 ? u' ' : u'1';
        store.Append(r);
    }
    EXPECT_EQ(store.Count(), 5u);
    EXPECT_EQ(store.Size(), 5 * FixRecordSize);
    for (std::size_t i = 0; i < store.Count(); ++i)
        EXPECT_EQ(store.At(i).Time, 1.0 + static_cast<double>(i));
    EXPECT_EQ(DecodeFixRecord(store.Data() + 4 * FixRecordSize).FixQuality, u' ');

    // A replaced store starts over at the first record.
    store.Replace();
    FixRecord again;
    again.Time = 99;
    store.Append(again);
    EXPECT_EQ(store.Count(), 1u);
    EXPECT_EQ(store.At(0).Time, 99);

    store.Clear();
    EXPECT_TRUE(store.Exists());
    EXPECT_EQ(store.Count(), 0u);
}

TEST(FixStore, ReserveBeyondMemoryIsOnlyAHint) {
    FixStore store;
    store.Replace();
    // Counts whose size does not fit the store's vector (a real allocation failure is
    // left out: sanitizers stop on it instead of throwing).
    for (std::size_t records : {std::numeric_limits<std::size_t>::max(),
                                std::numeric_limits<std::size_t>::max() / FixRecordSize}) {
        EXPECT_NO_THROW(store.Reserve(records)) << records;
    }
    FixRecord r;
    r.Time = 46365.5;
    store.Append(r);
    EXPECT_EQ(1u, store.Count());
}
