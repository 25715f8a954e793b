// Damaged zij files: every byte of a fixture zij changed in turn, and the zij cut at every
// length. Reading must never crash (the sanitizer build watches memory), never yield a
// table that breaks the invariants, and skipping a table must always agree with reading it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/commands.h"
#include "commands/external_zij.h"
#include "data/data_state.h"
#include "data/zij_file.h"
#include "support/scripted_console.h"
#include "support/table_fixture.h"
#include "support/table_invariants.h"
#include "support/temp_dir.h"
#include "support/zij_check.h"

namespace zorvat {
namespace {

using testing::make_table;
using testing::ScriptedConsole;
using testing::TempDir;

std::string fixture_zij() {
    std::string b;
    b += encode_table_blocks(
        *make_table({.name = "Sun",
                     .era = 'J',
                     .subtables = {{.period = DAY, .values = {"0;59,8", "1;58,17", "2;57,25"}}},
                     .corrections = {{2, "1;58,16"}}}));
    b += encode_table_blocks(*make_table({.name = "Nothing yet"}));
    std::vector<std::string> years;
    for (int i = 1; i <= 20; ++i)
        years.push_back(std::to_string(i * 7 % 360) + ";" + std::to_string(i % 60) + ",4");
    b += encode_table_blocks(*make_table({.name = "Moon",
                                          .subtables = {{.period = COL,
                                                         .values = years,
                                                         .numsex = 2,
                                                         .epoch = 601,
                                                         .step = 30,
                                                         .epoch_given = true}},
                                          .epoch_value = "100;1,2",
                                          .corrections = {{0, "100;1,3"}, {20, "1;1,1"}}}));
    b += encode_table_blocks(
        *make_table({.name = "One", .subtables = {{.period = HOU, .values = {"0;2,28"}}}}));
    return b;
}

// Reads the zij in every way the commands do and checks what comes of it.
void read_every_way(const std::string& bytes, const std::string& what) {
    testing::write_file("Z.ZVT", bytes);
    ScriptedConsole con;
    std::string fault;
    ASSERT_TRUE(con.run([&] { fault = testing::check_zij_reading("Z"); })) << what;
    ASSERT_EQ(fault, "") << what;
}

TEST(DamagedZij, TheFixtureReadsWhole) {
    TempDir dir;
    const std::string bytes = fixture_zij();
    ASSERT_EQ(bytes.size(), 8u * 229);
    read_every_way(bytes, "untouched");
    EXPECT_EQ(NUMTABLES, 4);
}

TEST(DamagedZij, EveryByteChanged) {
    TempDir dir;
    const std::string good = fixture_zij();
    for (std::size_t at = 0; at < good.size(); ++at) {
        for (const unsigned change : {0xFFu, 0x01u, 0x80u}) {
            std::string bytes = good;
            bytes[at] = static_cast<char>(static_cast<unsigned char>(bytes[at]) ^ change);
            read_every_way(bytes, "byte " + std::to_string(at) + " ^ " + std::to_string(change));
            if (::testing::Test::HasFatalFailure()) return;
        }
    }
}

TEST(DamagedZij, CutAtEveryLength) {
    TempDir dir;
    const std::string good = fixture_zij();
    for (std::size_t length = 0; length < good.size(); ++length) {
        read_every_way(good.substr(0, length), "cut at " + std::to_string(length));
        if (::testing::Test::HasFatalFailure()) return;
    }
}

}  // namespace
}  // namespace zorvat
