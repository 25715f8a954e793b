#include "platform/files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>

#include "support/temp_dir.h"

namespace zorvat {
namespace {

TEST(ExpandPath, MakesFullPathsAsTyped) {
    testing::TempDir dir;
    const std::string cwd = current_directory();
    EXPECT_EQ(expand_path(""), cwd);
    EXPECT_EQ(expand_path("abc"), cwd + "/abc");
    EXPECT_EQ(expand_path("Tables/Alfonsine ZIJ.zvt"), cwd + "/Tables/Alfonsine ZIJ.zvt");
    EXPECT_EQ(expand_path("/home/ana/zijes"), "/home/ana/zijes");
    EXPECT_EQ(expand_path("/home/ana/zijes/"), "/home/ana/zijes/");
    EXPECT_EQ(expand_path("/a/./b/../c"), "/a/c");
    EXPECT_EQ(expand_path("/.."), "/");
    EXPECT_EQ(expand_path("/"), "/");
    EXPECT_EQ(expand_path("//a//b"), "/a/b");
    ::setenv("HOME", "/home/ana", 1);
    EXPECT_EQ(expand_path("~/zijes"), "/home/ana/zijes");
    EXPECT_EQ(expand_path("~"), "/home/ana");
    EXPECT_EQ(expand_path("~x"), cwd + "/~x");
}

TEST(IoCodes, FromErrno) {
    EXPECT_EQ(io_code_from_errno(ENOENT, false), 2);
    EXPECT_EQ(io_code_from_errno(ENOTDIR, false), 3);
    EXPECT_EQ(io_code_from_errno(EACCES, true), 5);
    EXPECT_EQ(io_code_from_errno(EROFS, true), 5);
    EXPECT_EQ(io_code_from_errno(ENOSPC, true), 101);
    EXPECT_EQ(io_code_from_errno(EDQUOT, true), 101);
    EXPECT_EQ(io_code_from_errno(EIO, false), 100);
    EXPECT_EQ(io_code_from_errno(EIO, true), 160);
}

TEST(ReplaceFile, AFailedWriteKeepsTheOldFileAndErrorsAreCodes) {
    testing::TempDir dir;
    testing::write_file("f", "old");
    reset_file_faults();
    FILE_FAULTS.fail_after_bytes = 2;
    EXPECT_EQ(replace_file("f", "new text"), 101);
    EXPECT_EQ(testing::read_file("f"), "old");
    reset_file_faults();
    EXPECT_EQ(replace_file("f", "new text"), 0);
    EXPECT_EQ(testing::read_file("f"), "new text");
    EXPECT_EQ(replace_file("missing-dir/f", "x"), 3);
    std::string content;
    EXPECT_EQ(read_whole_file("nothing", content), 2);
}

}  // namespace
}  // namespace zorvat
