#include "shell/configuration.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "data/data_state.h"
#include "dialogue/toolkit.h"
#include "platform/files.h"
#include "support/scripted_console.h"
#include "support/temp_dir.h"

namespace zorvat {
namespace {

using testing::read_file;
using testing::ScriptedConsole;
using testing::TempDir;
using testing::write_file;

class Configuration : public ::testing::Test {
  protected:
    void SetUp() override { reset_file_faults(); }
    void TearDown() override { reset_file_faults(); }
    ScriptedConsole con;  // resets every global
    TempDir dir;
};

struct ModeCase {
    const char* line1;
    std::uint8_t mode;
};

class DisplayModeLine : public ::testing::TestWithParam<ModeCase> {
  protected:
    ScriptedConsole con;
    TempDir dir;
};

TEST_P(DisplayModeLine, GivesTheMode) {
    write_file("zorvat.cfg", std::string(GetParam().line1) + "\r\nname\r\n");
    DISPLAYMODE = SIGNS;
    READ_CONFIGURATION();
    EXPECT_EQ(DISPLAYMODE, GetParam().mode);
    EXPECT_EQ(DEFNAME, "name");
}

INSTANTIATE_TEST_SUITE_P(Configuration, DisplayModeLine,
                         ::testing::Values(ModeCase{"0", DEGREES}, ModeCase{"1", SIGNS},
                                           ModeCase{"2", DAYSHOURS}, ModeCase{"TRUE", DEGREES},
                                           ModeCase{"x", DEGREES}, ModeCase{"", DEGREES},
                                           ModeCase{"12", DEGREES}, ModeCase{"2 ", DEGREES}));

TEST_F(Configuration, AShortFileFillsWhatItHasAndEmptiesTheRest) {
    DEFZIJ[4] = "stale";
    DEFPAR[25] = "stale";
    write_file("zorvat.cfg", "1\nTabula\n/z/a\n/z/b\n/z/c");
    READ_CONFIGURATION();
    EXPECT_EQ(DISPLAYMODE, SIGNS);
    EXPECT_EQ(DEFNAME, "Tabula");
    EXPECT_EQ(DEFZIJ[1], "/z/a");
    EXPECT_EQ(DEFZIJ[2], "/z/b");
    EXPECT_EQ(DEFZIJ[3], "/z/c");
    EXPECT_EQ(DEFZIJ[4], "");
    EXPECT_EQ(DEFZIJ[5], "");
    EXPECT_EQ(DEFDIR[1], "");
    EXPECT_EQ(DEFPAR[25], "");
}

TEST_F(Configuration, LongLinesAreCutToTheirGlobalsLengths) {
    const std::string name70(70, 'n');
    const std::string path300 = "/" + std::string(299, 'p');
    const std::string par80(80, '7');
    std::string text = "0\r\n" + name70 + "\r\n" + path300 + "\r\nnext\r\n";
    for (int i = 5; i <= 17; ++i)
        text += "\r\n";
    text += par80 + "\r\n";
    write_file("zorvat.cfg", text);
    READ_CONFIGURATION();
    EXPECT_EQ(DEFNAME, std::string(60, 'n'));
    EXPECT_EQ(DEFZIJ[1], path300.substr(0, 255));
    EXPECT_EQ(DEFZIJ[2], "next");
    EXPECT_EQ(DEFPAR[1], std::string(60, '7'));
}

TEST_F(Configuration, MissingOrUnreadableFileGivesTheDefaults) {
    DISPLAYMODE = DAYSHOURS;
    DEFNAME = "x";
    DEFZIJ[2] = "y";
    DEFPAR[3] = "z";
    READ_CONFIGURATION();
    EXPECT_EQ(DISPLAYMODE, DEGREES);
    EXPECT_EQ(DEFNAME, "");
    EXPECT_EQ(DEFZIJ[2], "");
    EXPECT_EQ(DEFPAR[3], "");

    std::filesystem::create_directory("zorvat.cfg");  // opens, but cannot be read
    DISPLAYMODE = SIGNS;
    READ_CONFIGURATION();
    EXPECT_EQ(DISPLAYMODE, DEGREES);
}

// A file of all 42 lines with every kind of content a line may hold.
std::string full_configuration_file() {
    std::string text = "2\r\n" + std::string("Mean motion of the Sun ±°µ ") + "\r\n";
    for (int i = 1; i <= 5; ++i)
        text += "/home/ana/zijes/z" + std::to_string(i) + std::string(230, 'x') + ".ZVT\r\n";
    for (int i = 1; i <= 5; ++i)
        text += (i == 3 ? "" : "/dir " + std::to_string(i)) + "\r\n";
    for (int i = 1; i <= 5; ++i)
        text += "file\xE1\x96" + std::to_string(i) + "\r\n";
    for (int i = 1; i <= 25; ++i)
        text += (i % 7 == 0 ? "" : "0;59,8,19," + std::to_string(i)) + "\r\n";
    return text;
}

TEST_F(Configuration, AllLinesRoundTripByteForByte) {
    const std::string original = full_configuration_file();
    write_file("zorvat.cfg", original);
    READ_CONFIGURATION();
    EXPECT_EQ(DISPLAYMODE, DAYSHOURS);
    EXPECT_EQ(DEFDIR[3], "");
    EXPECT_EQ(DEFPAR[25], "0;59,8,19,25");
    std::filesystem::remove("zorvat.cfg");
    EXPECT_EQ(SAVE_CONFIGURATION(), 0);
    EXPECT_EQ(read_file("zorvat.cfg"), original);
}

TEST_F(Configuration, LfOnlyFilesReadTheSameAndAreWrittenWithCrLf) {
    std::string lf = full_configuration_file();
    for (std::size_t p; (p = lf.find("\r\n")) != std::string::npos;)
        lf.erase(p, 1);
    write_file("zorvat.cfg", lf);
    READ_CONFIGURATION();
    EXPECT_EQ(SAVE_CONFIGURATION(), 0);
    EXPECT_EQ(read_file("zorvat.cfg"), full_configuration_file());
}

TEST_F(Configuration, WritingTheDefaultsGives42EmptyLinesAfterTheMode) {
    EXPECT_EQ(SAVE_CONFIGURATION(), 0);
    std::string expected = "0\r\n";
    for (int i = 2; i <= 42; ++i)
        expected += "\r\n";
    EXPECT_EQ(read_file("zorvat.cfg"), expected);
}

TEST_F(Configuration, AFailingWriteKeepsTheOldFileAsItWas) {
    const std::string original = full_configuration_file();
    write_file("zorvat.cfg", original);
    READ_CONFIGURATION();
    DEFZIJ[1] = "/changed";
    for (const long long after : {0LL, 10LL, 500LL}) {
        reset_file_faults();
        FILE_FAULTS.fail_after_bytes = after;
        EXPECT_EQ(SAVE_CONFIGURATION(), 101) << after;
        EXPECT_EQ(read_file("zorvat.cfg"), original) << after;
    }
    // Nothing is left beside it.
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path()))
        ++files;
    EXPECT_EQ(files, 1);
    reset_file_faults();
    EXPECT_EQ(SAVE_CONFIGURATION(), 0);
    EXPECT_NE(read_file("zorvat.cfg"), original);
}

TEST_F(Configuration, AnUnwritableDirectoryIsReportedAndNothingIsWritten) {
    std::filesystem::create_directory("sub");
    std::filesystem::current_path("sub");
    // Root may write anywhere: the refusal comes from the fault layer.
    reset_file_faults();
    FILE_FAULTS.call = FileCall::Open;
    FILE_FAULTS.fail_call = 1;
    FILE_FAULTS.call_error = EACCES;
    EXPECT_EQ(SAVE_CONFIGURATION(), 5);
    reset_file_faults();
    EXPECT_FALSE(std::filesystem::exists("zorvat.cfg"));
    EXPECT_TRUE(std::filesystem::is_empty("."));
}

}  // namespace
}  // namespace zorvat
