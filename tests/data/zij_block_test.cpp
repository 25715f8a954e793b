// The block layout of a zij file, byte for byte, and the encoding of tables in it.
#include "data/zij_block.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/table_fixture.h"

namespace zorvat {
namespace {

using testing::make_table;
using testing::SubtableSpec;
using testing::sxg;
using testing::TableSpec;

std::uint8_t byte_at(const std::string& bytes, std::size_t at) {
    return static_cast<std::uint8_t>(bytes.at(at));
}

std::int32_t i32_at(const std::string& bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t k = 0; k < 4; ++k)
        v |= static_cast<std::uint32_t>(byte_at(bytes, at + k)) << (8 * k);
    return static_cast<std::int32_t>(v);
}

std::int16_t i16_at(const std::string& bytes, std::size_t at) {
    return static_cast<std::int16_t>(byte_at(bytes, at) | (byte_at(bytes, at + 1) << 8));
}

// The SXG stored at byte `at`.
SXG sxg_at(const std::string& bytes, std::size_t at) {
    SXG s;
    s.DEGREES = i32_at(bytes, at);
    for (std::size_t k = 1; k <= 10; ++k)
        s.DIGITS[k] = static_cast<std::int8_t>(byte_at(bytes, at + 3 + k));
    return s;
}

// Slot k (1..16) of value block b (1-based after the first block).
SXG slot(const std::string& bytes, std::size_t b, std::size_t k) {
    return sxg_at(bytes, 229 * b + 1 + 14 * (k - 1));
}

BLOCKBYTES block_bytes(const std::string& bytes, std::size_t b) {
    BLOCKBYTES out{};
    for (std::size_t k = 0; k < BLOCKSIZE; ++k)
        out[k] = byte_at(bytes, 229 * b + k);
    return out;
}

// Reads a table back from its bytes the way the reader does; false on any refusal.
bool decode_table(const std::string& bytes, TABLE& t) {
    BLOCK bl;
    if (bytes.size() < BLOCKSIZE || !decode_block(block_bytes(bytes, 0), bl)) return false;
    if (check_first_block(bl) != HeaderFault::None) return false;
    table_from_first_block(bl, t);
    VALUESTREAM s;
    std::size_t b = 1;
    while (t.TOTNUMVAL > 0 && !stream_done(t, s)) {
        if (bytes.size() < 229 * (b + 1) || !take_value_block(block_bytes(bytes, b++), t, s))
            return false;
    }
    return true;
}

TEST(ZijBlock, ThreeValuesWithACorrectionAtTwo) {
    auto t = make_table({.name = "Sun",
                         .era = 'J',
                         .mpd = "0;59,8,20",
                         .subtables = {{.period = DAY, .values = {"0;59,8", "1;58,17", "2;57,25"}}},
                         .epoch_value = "0;1,2",
                         .corrections = {{2, "1;58,16"}}});
    const std::string bytes = encode_table_blocks(*t);
    ASSERT_EQ(bytes.size(), 458u);
    EXPECT_EQ(byte_at(bytes, 0), 1);
    EXPECT_EQ(i16_at(bytes, 217), 3);  // TOTNUMVAL
    EXPECT_EQ(i16_at(bytes, 219), 2);  // NUMBLOCKS
    EXPECT_EQ(byte_at(bytes, 191), 0b100);
    EXPECT_EQ(byte_at(bytes, 229), 0);
    EXPECT_EQ(slot(bytes, 1, 1), sxg("0;1,2"));
    EXPECT_EQ(slot(bytes, 1, 2), sxg("0;59,8"));
    EXPECT_EQ(slot(bytes, 1, 3), sxg("1;58,17"));
    EXPECT_EQ(slot(bytes, 1, 4), sxg("1;58,16"));
    EXPECT_EQ(slot(bytes, 1, 5), sxg("2;57,25"));
    for (std::size_t k = 6; k <= 16; ++k)
        EXPECT_EQ(slot(bytes, 1, k), ZERO) << k;
    EXPECT_EQ(i32_at(bytes, 229 + 225), CHECKWORD);

    TABLE back;
    ASSERT_TRUE(decode_table(bytes, back));
    EXPECT_EQ(back.CRSET, SET200().set(2));
    EXPECT_EQ(back.NUMCR, 1);
    for (std::size_t i : {0u, 1u, 3u})
        EXPECT_EQ(back.CR[i], back.MS[i]) << i;
    EXPECT_EQ(back.MS[2], sxg("1;58,17"));
    EXPECT_EQ(back.CR[2], sxg("1;58,16"));
}

TEST(ZijBlock, FirstBlockFieldsStandWhereTheLayoutPutsThem) {
    auto t = make_table(
        {.name = "Mean Moon",
         .era = 'A',
         .mpd = "13;10,35",
         .subtables = {{.period = HOU, .values = {"0;32,56"}, .numsex = 2, .epoch = 0, .step = 1},
                       {.period = COL,
                        .values = {"1;2,3", "4;5,6"},
                        .numsex = 3,
                        .epoch = 601,
                        .step = 30,
                        .epoch_given = true}}});
    t->INTERCALATION.set(0).set(8).set(30);
    const std::string bytes = encode_table_blocks(*t);
    EXPECT_EQ(byte_at(bytes, 1), 9);
    EXPECT_EQ(bytes.substr(2, 9), "Mean Moon");
    EXPECT_EQ(byte_at(bytes, 11), 0);  // what follows the name is zero
    EXPECT_EQ(sxg_at(bytes, 62), sxg("13;10,35"));
    EXPECT_EQ(byte_at(bytes, 76), 'A');
    EXPECT_EQ(byte_at(bytes, 77), 0x01);
    EXPECT_EQ(byte_at(bytes, 78), 0x01);
    EXPECT_EQ(byte_at(bytes, 80), 0x40);
    const std::size_t hou = 81 + 11 * (HOU - 1), col = 81 + 11 * (COL - 1);
    EXPECT_EQ(i16_at(bytes, hou), 0);
    EXPECT_EQ(i16_at(bytes, hou + 2), 1);
    EXPECT_EQ(i16_at(bytes, hou + 4), 2);
    EXPECT_EQ(i16_at(bytes, hou + 8), 1);
    EXPECT_EQ(byte_at(bytes, hou + 10), 0);
    EXPECT_EQ(i16_at(bytes, col), 1);
    EXPECT_EQ(i16_at(bytes, col + 2), 2);
    EXPECT_EQ(i16_at(bytes, col + 4), 3);
    EXPECT_EQ(i16_at(bytes, col + 6), 601);
    EXPECT_EQ(i16_at(bytes, col + 8), 30);
    EXPECT_EQ(byte_at(bytes, col + 10), 1);
    EXPECT_EQ(col + 11, 191u);
    // The check word is 30 00 00 80; the last four bytes of a first block are zero.
    EXPECT_EQ(bytes.substr(221, 4), std::string("\x30\x00\x00\x80", 4));
    EXPECT_EQ(bytes.substr(225, 4), std::string(4, '\0'));
}

TEST(ZijBlock, NegativeNumbersAreTwosComplementLittleEndian) {
    auto t = make_table({.subtables = {{.period = DAY, .values = {"-1;2,3"}, .epoch = -2}}});
    const std::string bytes = encode_table_blocks(*t);
    EXPECT_EQ(i16_at(bytes, 81 + 11 * (DAY - 1) + 6), -2);
    EXPECT_EQ(bytes.substr(229 + 15, 4), std::string("\xff\xff\xff\xff", 4));
    EXPECT_EQ(byte_at(bytes, 229 + 15 + 4), 0xFE);  // -2
    EXPECT_EQ(byte_at(bytes, 229 + 15 + 5), 0xFD);  // -3
}

struct SizeCase {
    int totnumval;
    std::vector<int> corrected;
    int numblocks;
    int padding;  // ZERO slots at the end of the last value block
};

class ZijBlockSizes : public ::testing::TestWithParam<SizeCase> {};

TEST_P(ZijBlockSizes, BlocksAndPadding) {
    const SizeCase& c = GetParam();
    SubtableSpec sub{.period = COL};
    for (int i = 1; i <= c.totnumval; ++i)
        sub.values.push_back(std::to_string(i) + ";1");
    TableSpec spec{.subtables = {}};
    if (c.totnumval > 0) spec.subtables.push_back(sub);
    spec.epoch_value = "0;30";
    for (int i : c.corrected)
        spec.corrections[i] = std::to_string(i) + ";2";
    auto t = make_table(spec);
    const std::string bytes = encode_table_blocks(*t);
    ASSERT_EQ(bytes.size(), 229u * static_cast<std::size_t>(c.numblocks));
    EXPECT_EQ(i16_at(bytes, 219), c.numblocks);
    const auto last = static_cast<std::size_t>(c.numblocks - 1);
    for (int k = 16 - c.padding + 1; k <= 16 && last > 0; ++k)
        EXPECT_EQ(slot(bytes, last, static_cast<std::size_t>(k)), ZERO) << k;
    if (c.padding < 16 && last > 0) {
        EXPECT_NE(slot(bytes, last, static_cast<std::size_t>(16 - c.padding)), ZERO);
    }
    TABLE back;
    ASSERT_TRUE(decode_table(bytes, back));
    EXPECT_EQ(back.NUMCR, static_cast<int>(c.corrected.size()));
    for (int i = 0; i <= c.totnumval && c.totnumval > 0; ++i) {
        EXPECT_EQ(back.MS[static_cast<std::size_t>(i)], t->MS[static_cast<std::size_t>(i)]);
        EXPECT_EQ(back.CR[static_cast<std::size_t>(i)], t->CR[static_cast<std::size_t>(i)]);
    }
}

std::vector<int> all_indices() {
    std::vector<int> v;
    for (int i = 0; i <= 200; ++i)
        v.push_back(i);
    return v;
}

INSTANTIATE_TEST_SUITE_P(
    Tables, ZijBlockSizes,
    ::testing::Values(SizeCase{15, {}, 2, 0},                // exactly one value block
                      SizeCase{15, {15}, 3, 15},             // CR[15] alone in a second block
                      SizeCase{16, {}, 3, 15},               //
                      SizeCase{3, {2}, 2, 11},               //
                      SizeCase{200, all_indices(), 27, 14},  // 402 values, 6183 bytes
                      SizeCase{1, {0}, 2, 13},               // the epoch value corrected
                      SizeCase{0, {}, 1, 16}));              // no values: the first block alone

TEST(ZijBlock, ATableWithoutValuesIsItsFirstBlockAloneWithNumblocksOne) {
    auto t = make_table({.name = "Empty", .epoch_value = "1;0", .corrections = {{0, "2;0"}}});
    const std::string bytes = encode_table_blocks(*t);
    ASSERT_EQ(bytes.size(), 229u);
    EXPECT_EQ(i16_at(bytes, 219), 1);
    EXPECT_EQ(bytes.substr(191, 26), std::string(26, '\0'));  // nothing is stored as corrected
    TABLE back;
    ASSERT_TRUE(decode_table(bytes, back));
    EXPECT_EQ(back.TOTNUMVAL, 0);
    EXPECT_TRUE(back.CRSET.none());
    // Files written before carry NUMBLOCKS 2 for such a table: it is still its first block.
    BLOCK bl;
    ASSERT_TRUE(decode_block(block_bytes(bytes, 0), bl));
    bl.NUMBLOCKS = 2;
    EXPECT_EQ(check_first_block(bl), HeaderFault::None);
    EXPECT_EQ(table_extent(bl), 1);
}

struct CrsetBit {
    int index;
    std::size_t byte;
    std::uint8_t value;
};

class CrsetBits : public ::testing::TestWithParam<CrsetBit> {};

TEST_P(CrsetBits, StandAtTheirBitAndComeBack) {
    const CrsetBit& c = GetParam();
    BLOCK bl;
    bl.FIRSTBLOCK = true;
    DECOMPOSECRSET(SET200().set(static_cast<std::size_t>(c.index)), bl);
    BLOCKBYTES bytes;
    encode_block(bl, bytes);
    for (std::size_t at = 191; at <= 216; ++at)
        EXPECT_EQ(bytes[at], at == c.byte ? c.value : 0) << at;
    BLOCK back;
    ASSERT_TRUE(decode_block(bytes, back));
    EXPECT_EQ(EXTRACTCRSET(back), SET200().set(static_cast<std::size_t>(c.index)));
}

INSTANTIATE_TEST_SUITE_P(Indices, CrsetBits,
                         ::testing::Values(CrsetBit{0, 191, 0x01}, CrsetBit{7, 191, 0x80},
                                           CrsetBit{8, 192, 0x01}, CrsetBit{32, 195, 0x01},
                                           CrsetBit{191, 214, 0x80}, CrsetBit{192, 215, 0x01},
                                           CrsetBit{199, 215, 0x80}, CrsetBit{200, 216, 0x01}));

TEST(ZijBlock, HighBitsOfSetwordAreIgnored) {
    BLOCKBYTES bytes{};
    bytes[0] = 1;
    bytes[216] = 0xFE;  // bits 9..15
    BLOCK bl;
    ASSERT_TRUE(decode_block(bytes, bl));
    EXPECT_TRUE(EXTRACTCRSET(bl).none());
}

TEST(ZijBlock, MpdIsRoundedToThreePlacesWhenRead) {
    BLOCK bl;
    auto t = make_table({.mpd = "0;59,8,19,44"});
    fill_first_block(*t, SET200(), bl);
    BLOCKBYTES bytes;
    encode_block(bl, bytes);
    BLOCK back;
    ASSERT_TRUE(decode_block(bytes, back));
    EXPECT_EQ(back.MPD, sxg("0;59,8,19,44"));
    TABLE read;
    table_from_first_block(back, read);
    EXPECT_EQ(read.MPD, sxg("0;59,8,20"));
}

TEST(ZijBlock, AFlagByteOtherThanZeroOrOneIsNoBlock) {
    BLOCKBYTES bytes{};
    BLOCK bl;
    bytes[0] = 2;
    EXPECT_FALSE(decode_block(bytes, bl));
    bytes[0] = 0;
    EXPECT_TRUE(decode_block(bytes, bl));
    EXPECT_FALSE(bl.FIRSTBLOCK);
}

// A first block of a sound three-value table, changed by `mutate`, is refused as `fault`.
struct HeaderCase {
    const char* what;
    void (*mutate)(BLOCK&);
    HeaderFault fault;
};

class HeaderChecks : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(HeaderChecks, RefuseInconsistentHeaders) {
    auto t = make_table({.subtables = {{.period = DAY, .values = {"1;0", "2;0"}},
                                       {.period = MON, .values = {"3;0"}}}});
    BLOCK bl;
    fill_first_block(*t, SET200(), bl);
    ASSERT_EQ(check_first_block(bl), HeaderFault::None);
    GetParam().mutate(bl);
    EXPECT_EQ(check_first_block(bl), GetParam().fault) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, HeaderChecks,
    ::testing::Values(
        HeaderCase{"value block", [](BLOCK& b) { b.FIRSTBLOCK = false; },
                   HeaderFault::NotFirstBlock},
        HeaderCase{"check word", [](BLOCK& b) { b.CHECKT = 0; }, HeaderFault::NotFirstBlock},
        HeaderCase{"201 values", [](BLOCK& b) { b.TOTNUMVAL = 201; }, HeaderFault::TooManyValues},
        HeaderCase{"negative count", [](BLOCK& b) { b.TOTNUMVAL = -1; }, HeaderFault::Damaged},
        HeaderCase{"negative NUMVAL", [](BLOCK& b) { b.INFOLIST[FRA].NUMVAL = -1; },
                   HeaderFault::Damaged},
        HeaderCase{"negative OFFSET", [](BLOCK& b) { b.INFOLIST[DAY].OFFSET = -1; },
                   HeaderFault::Damaged},
        HeaderCase{"beyond TOTNUMVAL", [](BLOCK& b) { b.INFOLIST[MON].OFFSET = 3; },
                   HeaderFault::Damaged},
        HeaderCase{"overlap", [](BLOCK& b) { b.INFOLIST[MON].OFFSET = 1; }, HeaderFault::Damaged},
        HeaderCase{"sum", [](BLOCK& b) { b.INFOLIST[MON].NUMVAL = 0; }, HeaderFault::Damaged},
        HeaderCase{"NUMSEX 11", [](BLOCK& b) { b.INFOLIST[DAY].NUMSEX = 11; },
                   HeaderFault::Damaged},
        HeaderCase{"NUMSEX -1", [](BLOCK& b) { b.INFOLIST[DAY].NUMSEX = -1; },
                   HeaderFault::Damaged},
        HeaderCase{"name length", [](BLOCK& b) { b.NAMELENGTH = 61; }, HeaderFault::Damaged},
        HeaderCase{"NUMBLOCKS", [](BLOCK& b) { b.NUMBLOCKS = 3; }, HeaderFault::Damaged},
        HeaderCase{"NUMBLOCKS 0", [](BLOCK& b) { b.NUMBLOCKS = 0; }, HeaderFault::Damaged},
        HeaderCase{"MPD digit", [](BLOCK& b) { b.MPD.DIGITS[2] = 60; }, HeaderFault::Damaged},
        HeaderCase{"MPD digit below", [](BLOCK& b) { b.MPD.DIGITS[10] = -60; },
                   HeaderFault::Damaged}));

TEST(HeaderChecks, NumblocksMustCountTheCorrectionsToo) {
    SubtableSpec sub{.period = DAY};
    for (int i = 1; i <= 15; ++i)
        sub.values.push_back("1;0");
    auto t = make_table({.subtables = {sub}});
    BLOCK bl;
    fill_first_block(*t, SET200(), bl);
    EXPECT_EQ(bl.NUMBLOCKS, 2);
    EXPECT_EQ(check_first_block(bl), HeaderFault::None);
    bl.SETS[1].set(4);  // one more value to read: a third block
    EXPECT_EQ(check_first_block(bl), HeaderFault::Damaged);
    bl.NUMBLOCKS = 3;
    EXPECT_EQ(check_first_block(bl), HeaderFault::None);
}

TEST(HeaderChecks, ANumsexOutsideItsRangeIsAllowedWithoutValues) {
    auto t = make_table({.subtables = {{.period = DAY, .values = {"1;0"}}}});
    BLOCK bl;
    fill_first_block(*t, SET200(), bl);
    bl.INFOLIST[FRA].NUMSEX = 99;  // a subtable that is not there
    bl.INFOLIST[FRA].OFFSET = -7;
    EXPECT_EQ(check_first_block(bl), HeaderFault::None);
}

TEST(ZijBlock, AValueDigitOutOfRangeIsRefused) {
    auto t = make_table({.subtables = {{.period = DAY, .values = {"1;0", "2;0"}}}});
    std::string bytes = encode_table_blocks(*t);
    TABLE back;
    ASSERT_TRUE(decode_table(bytes, back));
    bytes[229 + 14 * 2 + 5] = 60;  // slot 3 (MS[2]), its first place
    EXPECT_FALSE(decode_table(bytes, back));
    // The padding after the last value is not looked at.
    bytes = encode_table_blocks(*t);
    bytes[229 + 14 * 5 + 5] = 99;
    EXPECT_TRUE(decode_table(bytes, back));
}

// Tables of random shape and content survive encoding and decoding unchanged.
TEST(ZijBlock, RandomTablesRoundTrip) {
    std::mt19937 rng(20240307);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int round = 0; round < 300; ++round) {
        TABLE t;
        t.NAME = std::string(static_cast<std::size_t>(pick(0, 60)), 'x');
        for (char& c : t.NAME)
            c = static_cast<char>(pick(32, 255));
        t.ERA = "ABEJKLMPS"[pick(0, 8)];
        for (std::size_t n = 0; n <= 30; ++n)
            t.INTERCALATION[n] = pick(0, 1) == 1;
        t.MPD.DEGREES = pick(-400, 400);
        for (std::size_t k = 1; k <= 3; ++k)
            t.MPD.DIGITS[k] = static_cast<std::int8_t>(pick(0, 59));
        int index = 0;
        const int budget = pick(0, 200);
        for (std::size_t p = FRA; p <= COL && index < budget; ++p) {
            if (pick(0, 2) == 0) continue;
            INFORECORD& r = t.INFOLIST[p];
            r.OFFSET = static_cast<std::int16_t>(index);
            r.NUMVAL = static_cast<std::int16_t>(pick(1, budget - index));
            r.NUMSEX = static_cast<std::int16_t>(pick(0, 10));
            r.EPOCH = static_cast<std::int16_t>(pick(-32768, 32767));
            r.STEP = static_cast<std::int16_t>(pick(-32768, 32767));
            r.EPOCH_GIVEN = pick(0, 1) == 1;
            index += r.NUMVAL;
        }
        t.TOTNUMVAL = static_cast<std::int16_t>(index);
        for (int i = 0; i <= index && index > 0; ++i) {
            SXG v;
            v.DEGREES = pick(-2147483647, 2147483647);
            for (std::size_t k = 1; k <= 10; ++k)
                v.DIGITS[k] = static_cast<std::int8_t>(pick(-59, 59));
            t.MS[static_cast<std::size_t>(i)] = t.CR[static_cast<std::size_t>(i)] = v;
            if (pick(0, 4) == 0) t.CR[static_cast<std::size_t>(i)].DEGREES ^= 1;
        }
        const std::string bytes = encode_table_blocks(t);
        TABLE back;
        ASSERT_TRUE(decode_table(bytes, back)) << round;
        ASSERT_EQ(bytes.size() % 229, 0u);
        EXPECT_EQ(back.NAME, t.NAME);
        EXPECT_EQ(back.ERA, t.ERA);
        EXPECT_EQ(back.INTERCALATION, t.INTERCALATION);
        EXPECT_EQ(back.MPD, t.MPD);
        EXPECT_EQ(back.TOTNUMVAL, t.TOTNUMVAL);
        EXPECT_EQ(back.INFOLIST, t.INFOLIST);
        EXPECT_EQ(back.CRSET, corrections_of(t));
        EXPECT_EQ(back.NUMCR, static_cast<int>(corrections_of(t).count()));
        for (int i = 0; i <= index && index > 0; ++i) {
            EXPECT_EQ(back.MS[static_cast<std::size_t>(i)], t.MS[static_cast<std::size_t>(i)]);
            EXPECT_EQ(back.CR[static_cast<std::size_t>(i)], t.CR[static_cast<std::size_t>(i)]);
        }
        // The encoding is a function of the table: encoding what was read gives the same bytes.
        EXPECT_EQ(encode_table_blocks(back), bytes) << round;
    }
}

}  // namespace
}  // namespace zorvat
