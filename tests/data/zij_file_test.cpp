// The zij file: opening for reading and writing, the reader and the writer of a table.
#include "data/zij_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/table_fixture.h"
#include "support/temp_dir.h"

namespace zorvat {
namespace {

using testing::make_table;
using testing::read_file;
using testing::TempDir;

TEST(WriteZijFile, WritesTheTablesOneAfterTheOtherAndNeverHalfAFile) {
    TempDir dir;
    auto a = make_table({.name = "A", .subtables = {{.period = DAY, .values = {"1;0"}}}});
    auto b = make_table({.name = "B"});
    ASSERT_EQ(write_zij_file("TWO.ZVT", {a.get(), b.get()}), 0);
    EXPECT_EQ(read_file("TWO.ZVT"), encode_table_blocks(*a) + encode_table_blocks(*b));
    // Refusing to replace leaves the file as it was; replacing writes the new one.
    EXPECT_EQ(write_zij_file("TWO.ZVT", {b.get()}, false), 5);
    EXPECT_EQ(read_file("TWO.ZVT").size(), 3u * 229);
    reset_file_faults();
    FILE_FAULTS.fail_after_bytes = 100;
    EXPECT_EQ(write_zij_file("TWO.ZVT", {b.get()}), 101);
    reset_file_faults();
    EXPECT_EQ(read_file("TWO.ZVT").size(), 3u * 229);
    ASSERT_EQ(write_zij_file("TWO.ZVT", {b.get()}), 0);
    EXPECT_EQ(read_file("TWO.ZVT"), encode_table_blocks(*b));
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path()))
        ++files;
    EXPECT_EQ(files, 1);
}

}  // namespace
}  // namespace zorvat
