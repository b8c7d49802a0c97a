#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <iterator>
#include <random>
#include <utility>

#include "base/ConfigFile.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"

namespace zelsim {

namespace {

using Status = ConfigFile::SaveResult::Status;

class ConfigFileTest : public ::testing::Test {
  protected:
    std::string Ini(const std::string& content) {
        TempDir::Write(path_, content);
        return path_;
    }

    // Saves the changes and returns what the file then holds.
    std::string Saved(ConfigFile& file) {
        const ConfigFile::SaveResult result = file.Save();
        EXPECT_EQ(result.status, Status::Written) << result.message;
        return TempDir::Read(path_);
    }

    TempDir dir_;
    std::string path_ = dir_.File("ZelSim.ini");
};

TEST_F(ConfigFileTest, SectionsAndKeysMatchWithoutRegardToCase) {
    // An editor's byte-order mark must not hide the first section.
    ConfigFile file(
        Ini("\xEF\xBB\xBF[configuration]\ncomport=3\n  MsgMonOutGoingMessages = 0  \n"));
    file.SetSection("CONFIGURATION");
    EXPECT_EQ(file.ReadInt("ComPort", 1), 3);
    EXPECT_FALSE(file.ReadFlag("MsgMonOutgoingMessages", true));

    file.WriteFlag("MSGMONOUTGOINGMESSAGES", true);
    EXPECT_TRUE(file.ReadFlag("msgmonoutgoingmessages", false));
    // Changed in place: the file's own spelling and spacing stay.
    EXPECT_EQ(Saved(file),
              "\xEF\xBB\xBF[configuration]\ncomport=3\n  MsgMonOutGoingMessages = 1\n");
}

// A name is read from a file without the blanks around it, so it must be
// looked up the same way: a key written under " " went to a section "[ ]"
// that the next start read as "[]", and was lost.
TEST_F(ConfigFileTest, BlanksAroundANameAreNoPartOfIt) {
    ConfigFile file(Ini("[ Lab ]\nBench=4\n"));
    file.SetSection("\tlab");
    EXPECT_EQ(file.ReadInt(" Bench ", 0), 4);
    file.SetSection(" ");
    file.WriteInt("Key", 1);
    file.SetSection("  New\t");
    file.WriteInt(" Key ", 2);
    EXPECT_EQ(Saved(file), "[ Lab ]\nBench=4\n\n[]\nKey=1\n\n[New]\nKey=2\n");

    ConfigFile reread(path_);
    reread.SetSection(" ");
    EXPECT_EQ(reread.ReadInt("Key", 0), 1);
    reread.SetSection("  New\t");
    EXPECT_EQ(reread.ReadInt("Key", 0), 2);
}

TEST_F(ConfigFileTest, ValuesAreTrimmedAndNumbersReadFromTheirLeadingDigits) {
    ConfigFile file(
        Ini("Stray=1\r\n[S]\r\n"
            "Plain=42\r\nSigned= -17 \r\nPlus=+8\r\nTrailing=12abc\r\nWord=abc\r\nEmpty=\r\n"
            "Huge=99999999999\r\nHex=0x10\r\nFlagTwo=2\r\nFlagWord=yes\r\n"
            "Name =  two words \t\r\n[B]\r\nOther=3\r\n"));
    file.SetSection("S");
    // Not a number at all gives the default, as a missing key does; so do keys
    // outside their section.
    const std::pair<const char*, int> numbers[] = {
        {"Plain", 42}, {"Signed", -17}, {"Plus", 8},    {"Trailing", 12}, {"Hex", 0},  {"Word", 5},
        {"Empty", 5},  {"Huge", 5},     {"Missing", 5}, {"Other", 5},     {"Stray", 5}};
    for (const auto& [key, value] : numbers) EXPECT_EQ(file.ReadInt(key, 5), value) << key;
    EXPECT_TRUE(file.ReadFlag("FlagTwo", false));
    EXPECT_TRUE(file.ReadFlag("FlagWord", true));
    EXPECT_FALSE(file.ReadFlag("FlagWord", false));
    // An empty text is not the default.
    EXPECT_EQ(file.ReadText("Name", "x"), "two words");
    EXPECT_EQ(file.ReadText("Empty", "x"), "");
    EXPECT_EQ(file.ReadText("Missing", "x"), "x");
    file.SetSection("");
    EXPECT_EQ(file.ReadInt("Stray", 0), 0);
}

TEST_F(ConfigFileTest, TheFirstOfDuplicateKeysIsReadAndWritten) {
    ConfigFile file(Ini("[S]\nKey=1\nKey=2\n[T]\n[s]\nKey=3\nLate=4\n"));
    file.SetSection("S");
    EXPECT_EQ(file.ReadInt("Key", 0), 1);
    EXPECT_EQ(file.ReadInt("Late", 0), 4);  // a repeated section is the same section
    file.WriteInt("Key", 9);
    file.WriteInt("New", 5);
    EXPECT_EQ(Saved(file), "[S]\nKey=9\nKey=2\nNew=5\n[T]\n[s]\nKey=3\nLate=4\n");
}

TEST_F(ConfigFileTest, DeleteRemovesEveryOccurrenceAndNothingElse) {
    ConfigFile file(Ini("[S]\nOther=3\nKey=1\n; note\nKey=2\n[T]\nKey=4\n"));
    file.SetSection("S");
    file.DeleteKey("KEY");
    EXPECT_EQ(file.ReadText("Key", "gone"), "gone");
    file.DeleteKey("Absent");
    file.WriteInt("New", 5);  // still inside [S], though its last key went
    file.SetSection("Absent");
    file.DeleteKey("Key");
    EXPECT_EQ(Saved(file), "[S]\nOther=3\nNew=5\n; note\n[T]\nKey=4\n");
}

TEST_F(ConfigFileTest, NewKeysGoAfterTheLastKeyOfTheirSectionNewSectionsAtTheEnd) {
    ConfigFile file(Ini("; head\n[A]\nOne=1\n\n; about B\n[B]\nTwo=2\n\n"));
    file.SetSection("a");
    file.WriteText("Three", "3");
    file.SetSection("C");
    file.WriteText("Four", "4");
    file.SetSection("C");
    file.WriteText("Five", "5");
    EXPECT_EQ(Saved(file),
              "; head\n[A]\nOne=1\nThree=3\n\n; about B\n[B]\nTwo=2\n\n[C]\nFour=4\nFive=5\n");
}

TEST_F(ConfigFileTest, WindowsLineEndsAreKeptAndUsedForNewLines) {
    ConfigFile file(Ini("[A]\r\nOne=1"));  // and no line end at the very end
    file.SetSection("A");
    file.WriteInt("Two", 2);
    file.SetSection("B");
    file.WriteInt("Three", 3);
    EXPECT_EQ(Saved(file), "[A]\r\nOne=1\r\nTwo=2\r\n\r\n[B]\r\nThree=3\r\n");
}

TEST_F(ConfigFileTest, WhatItCannotReadSurvivesAWriteByteForByte) {
    const std::string longLine(100 * 1024, 'x');
    const char kBinary[] = "\x01\xff\xfe\x00\x80 bytes=\x7f";
    const std::string binary(kBinary, sizeof kBinary - 1);
    const std::string before =
        "\xEF\xBB\xBF; written by hand\r\n"
        "orphan=before any section\r\n"
        "[Configuration]\r\n"
        "ComPort=not a number\r\n"
        "no equals sign here\r\n" +
        binary + "\r\n" + longLine +
        "\r\n"
        "=value without key\r\n"
        "[broken section\r\n"
        "BaudRate=9600\r\n"
        "\r\n"
        "[FutureSection]\r\n"
        "Unknown=kept\r\n";
    ConfigFile file(Ini(before));
    file.SetSection("Configuration");
    EXPECT_EQ(file.ReadInt("ComPort", 1), 1);
    EXPECT_EQ(file.ReadInt("BaudRate", 38400), 9600);
    file.WriteInt("BaudRate", 4800);
    std::string after = before;
    after.replace(after.find("BaudRate=9600"), 13, "BaudRate=4800");
    EXPECT_EQ(Saved(file), after);
}

TEST_F(ConfigFileTest, RandomBytesAreReadWithoutHarmAndKeptWhole) {
    std::mt19937 random(20240611);
    const char kAlphabet[] = "[]=;# \t\r\nabcKEY0123456789\x00\xff\x80";
    const std::string alphabet(kAlphabet, sizeof kAlphabet - 1);
    for (int round = 0; round < 50; ++round) {
        std::string noise;
        const size_t length = random() % 4000;
        for (size_t i = 0; i < length; ++i) noise += alphabet[random() % alphabet.size()];
        noise += '\n';
        ConfigFile file(Ini(noise));
        for (const char* section : {"", "a", "abc", "KEY"}) {
            file.SetSection(section);
            (void)file.ReadInt("a", 0);
            (void)file.ReadText("abc", "");
        }
        file.SetSection("Appended");
        file.WriteInt("Key", 1);
        ASSERT_EQ(Saved(file).substr(0, noise.size()), noise) << "round " << round;
    }
}

TEST_F(ConfigFileTest, AMissingFileIsCreatedOnlyWhenSomethingIsWritten) {
    {
        ConfigFile file(path_);
        EXPECT_TRUE(file.Writable());
        EXPECT_EQ(file.Save().status, Status::Unchanged);
        EXPECT_FALSE(std::filesystem::exists(path_));
    }
    ConfigFile file(path_);
    file.SetSection("S");
    file.WriteFlag("On", true);
    file.WriteFlag("Off", false);
    file.WriteText("Caption", "ok\r\nComPort=9");  // a line break cannot forge a key
    EXPECT_EQ(Saved(file), "[S]\nOn=1\nOff=0\nCaption=ok\n");
    EXPECT_EQ(file.Save().status, Status::Unchanged);
}

// What a read gives back, written again, leaves the file as it is: the same
// bytes, and no save at all.
TEST_F(ConfigFileTest, WritingWhatItHoldsChangesNothing) {
    ConfigFile file(Ini("[S]\nSpaced =  7  \nText=a\rb\nPadded=x\n"));
    file.SetSection("S");
    file.WriteInt("Spaced", file.ReadInt("Spaced", 0));
    file.WriteText("Text", file.ReadText("Text", ""));
    file.WriteText("Padded", " x ");
    EXPECT_EQ(file.Save().status, Status::Unchanged);

    // Blanks a read would trim never pile up, and a carriage return inside a
    // value survives while one at its end would read as the line's end.
    for (int round = 0; round < 2; ++round) {
        file.WriteText("Padded", " y");
        file.WriteText("Text", "c\rd\r");
    }
    EXPECT_EQ(Saved(file), "[S]\nSpaced =  7  \nText=c\rd\nPadded=y\n");
    ConfigFile reread(path_);
    reread.SetSection("S");
    EXPECT_EQ(reread.ReadText("Text", ""), "c\rd");
}

// Blanks and carriage returns mixed at a value's end: "x\r " lost only its
// blank, read back as "x\r" until the next start took the carriage return
// for the line's end. A value reads the same before and after a save.
TEST_F(ConfigFileTest, AValueReadsTheSameBeforeAndAfterASaveWhateverEndsIt) {
    const std::pair<const char*, const char*> values[] = {
        {"x\r ", "x"}, {"y \r\t\r", "y"}, {" \r ", ""}, {"a\rb\r \n c", "a\rb"}};
    ConfigFile file(Ini("[S]\nKey0=old\n"));
    file.SetSection("S");
    int n = 0;
    for (const auto& [written, read] : values) {
        const std::string key = "Key" + std::to_string(n++);
        file.WriteText(key, written);
        EXPECT_EQ(file.ReadText(key, "absent"), read) << key;
    }
    EXPECT_EQ(Saved(file), "[S]\nKey0=x\nKey1=y\nKey2=\nKey3=a\rb\n");
    ConfigFile reread(path_);
    reread.SetSection("S");
    n = 0;
    for (const auto& [written, read] : values) {
        const std::string key = "Key" + std::to_string(n++);
        EXPECT_EQ(reread.ReadText(key, "absent"), read) << key;
        reread.WriteText(key, written);
    }
    EXPECT_EQ(reread.Save().status, Status::Unchanged);
}

// A file cut after a carriage return: the value of its last line once read
// "\r", which no write can store, so every start found the history changed.
TEST_F(ConfigFileTest, ALastLineCutAfterItsCarriageReturnReadsAsAnyOther) {
    ConfigFile file(Ini("[S]\nA=1\nB=\r"));
    file.SetSection("S");
    EXPECT_EQ(file.ReadText("A", "absent"), "1");
    EXPECT_EQ(file.ReadText("B", "absent"), "");
    file.WriteText("B", "");
    EXPECT_EQ(file.Save().status, Status::Unchanged);
    // Its CR is kept, and completed to a line end when a key follows.
    file.WriteText("C", "3");
    EXPECT_EQ(Saved(file), "[S]\nA=1\nB=\r\nC=3\n");
    ConfigFile reread(path_);
    reread.SetSection("S");
    EXPECT_EQ(reread.ReadText("B", "absent"), "");
    EXPECT_EQ(reread.ReadText("C", "absent"), "3");
}

TEST_F(ConfigFileTest, AReadOnlyOrUnreadableFileIsNeverWritten) {
    const std::string before = "[S]\nKey=1\n";
    Ini(before);
    ASSERT_EQ(::chmod(path_.c_str(), 0444), 0);
    ConfigFile file(path_);
    EXPECT_FALSE(file.Writable());
    file.SetSection("S");
    file.WriteInt("Key", 2);
    file.WriteInt("New", 3);
    file.DeleteKey("Key");
    EXPECT_EQ(file.ReadInt("Key", 0), 1);  // nothing changed, not even in memory
    const ConfigFile::SaveResult result = file.Save();
    EXPECT_EQ(result.status, Status::SkippedReadOnly);
    EXPECT_NE(result.message.find("read-only"), std::string::npos) << result.message;
    EXPECT_EQ(TempDir::Read(path_), before);

    const std::string folder = dir_.File("folder.ini");  // something is there, but not a file
    std::filesystem::create_directory(folder);
    ConfigFile unreadable(folder);
    unreadable.SetSection("S");
    unreadable.WriteInt("Key", 2);
    EXPECT_EQ(unreadable.Save().status, Status::SkippedUnreadable);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST_F(ConfigFileTest, SaveKeepsPermissionsAndFollowsALink) {
    const std::string real = dir_.File("real.ini");
    TempDir::Write(real, "[S]\nKey=1\n");
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    std::filesystem::create_symlink("real.ini", path_);

    ConfigFile file(path_);
    file.SetSection("S");
    file.WriteInt("Key", 2);
    ASSERT_EQ(file.Save().status, Status::Written);

    EXPECT_TRUE(std::filesystem::is_symlink(path_));
    EXPECT_EQ(TempDir::Read(real), "[S]\nKey=2\n");
    struct stat st {};
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(ConfigFileTest, AFailedWriteLeavesTheOldFileAndNoLitter) {
    const std::string before = "[S]\nKey=1\n";
    Ini(before);
    ConfigFile file(path_);
    file.SetSection("S");
    file.WriteText("Big", std::string(64 * 1024, 'y'));
    ConfigFile::SaveResult result;
    {
        FileSizeLimit full(4096);
        ASSERT_TRUE(full.Applied());
        result = file.Save();
    }

    EXPECT_EQ(result.status, Status::Failed);
    EXPECT_NE(result.message.find("Settings not saved"), std::string::npos) << result.message;
    EXPECT_EQ(TempDir::Read(path_), before);
    const std::filesystem::directory_iterator entries(dir_.Path());
    EXPECT_EQ(std::distance(begin(entries), end(entries)), 1) << "a temporary file was left behind";

    // Once there is room again the same changes go through.
    EXPECT_NE(Saved(file).find("Big=yyy"), std::string::npos);
}

}  // namespace

}  // namespace zelsim
