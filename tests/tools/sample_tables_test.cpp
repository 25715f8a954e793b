#include "tools/sample_tables.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "data/zij_block.h"
#include "support/table_fixture.h"
#include "support/temp_dir.h"

namespace zorvat {
namespace {

using testing::sxg;

const SXG& value(const TABLE& t, PERIOD p, int entry) {
    return t.CR[static_cast<std::size_t>(t.INFOLIST[p].OFFSET + entry)];
}

TEST(SampleTables, ValuesAreTheDailyMotionTimesTheTimeOfTheEntry) {
    const auto zijes = sample_zijes();
    ASSERT_EQ(zijes.size(), 1u);
    const auto& t = zijes[0].tables;
    ASSERT_EQ(t.size(), 3u);
    // Expected values computed apart, with exact fractions.
    const TABLE& sun = *t[0];
    EXPECT_EQ(sun.MPD, sxg("0;59,8,20"));
    EXPECT_EQ(value(sun, DAY, 10), sxg("9;51,23,16"));
    EXPECT_EQ(value(sun, HOU, 5), sxg("0;12,19,14"));
    EXPECT_EQ(value(sun, MON, 2), sxg("58;9,11,18"));    // January and February
    EXPECT_EQ(value(sun, SI1, 4), sxg("0;1,45,48"));     // 1461 days
    EXPECT_EQ(value(sun, COL, 3), sxg("278;28,41,56"));  // 60 Julian years after 1200
    EXPECT_EQ(sun.CR[0], sxg("278;2,15,0"));
    const TABLE& moon = *t[1];
    EXPECT_EQ(value(moon, EXT, 2), sxg("342;3,50"));   // 354 + 355 days
    EXPECT_EQ(value(moon, COL, 1), sxg("153;55,31"));  // 10631 days
    EXPECT_EQ(value(moon, DAY, 30), sxg("35;17,31"));
    EXPECT_EQ(value(*t[2], COL, 2), sxg("357;7,43"));
}

TEST(SampleTables, ManuscriptReadingsDifferOnlyWhereAConfusionWasEntered) {
    const auto zijes = sample_zijes();
    const std::vector<std::vector<std::pair<PERIOD, int>>> confused = {
        {{DAY, 17}, {SI1, 9}, {COL, 4}}, {{EXT, 12}, {DAY, 5}, {HOU, 20}}, {{EXT, 7}}};
    for (std::size_t k = 0; k < 3; ++k) {
        const TABLE& t = *zijes[0].tables[k];
        std::vector<int> expected;
        for (const auto& [p, entry] : confused[k])
            expected.push_back(t.INFOLIST[p].OFFSET + entry);
        std::sort(expected.begin(), expected.end());
        std::vector<int> differing;
        for (int i = 0; i <= t.TOTNUMVAL; ++i)
            if (!(t.MS[static_cast<std::size_t>(i)] == t.CR[static_cast<std::size_t>(i)]))
                differing.push_back(i);
        EXPECT_EQ(differing, expected) << t.NAME;
        EXPECT_EQ(t.NUMCR, static_cast<int>(expected.size()));
        EXPECT_TRUE(t.SAVED);
    }
}

TEST(SampleTables, TheCommittedZijIsWhatTheGeneratorWrites) {
    for (const auto& zij : sample_zijes()) {
        std::string bytes;
        for (const auto& t : zij.tables)
            bytes += encode_table_blocks(*t);
        const std::string committed =
            testing::read_file(std::string(ZORVAT_SOURCE_DIR) + "/samples/" + zij.file_name);
        EXPECT_EQ(committed.size(), bytes.size()) << zij.file_name;
        EXPECT_TRUE(committed == bytes)
            << zij.file_name << " differs: run zorvat_make_samples samples";
    }
}

}  // namespace
}  // namespace zorvat
