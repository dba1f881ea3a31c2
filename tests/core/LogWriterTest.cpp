#include "log/LogWriter.h"

#include <gtest/gtest.h>

#include "harness/TestMachine.h"

namespace norvane {
namespace {

TEST(LogWriterTest, OnlyDriveAndUncPathsAreTakenAsTheyAre) {
    EXPECT_TRUE(IsAbsoluteLogPath(L"C:\\Logs\\Norvane.log"));
    EXPECT_TRUE(IsAbsoluteLogPath(L"\\\\server\\share\\logs\\Norvane.log"));
    EXPECT_TRUE(IsAbsoluteLogPath(L"a.b"));  // three characters or fewer
    EXPECT_FALSE(IsAbsoluteLogPath(L"logs\\Norvane.log"));
    EXPECT_FALSE(IsAbsoluteLogPath(L"\\Logs\\Norvane.log"));
}

TEST(LogWriterTest, RelativeNameLiesInTheProgramFolderAndFoldersAreMade) {
    testing::TestMachine m;
    auto machine = m.Load();
    CLogWriter writer(machine->Platform());
    ASSERT_EQ(writer.Open(L"logs\\today\\run.log"), 1);
    EXPECT_EQ(writer.FileName(), L"C:\\Program Files\\Halvex\\Norvane\\logs\\today\\run.log");
    writer.Write(L"caf\u00e9 \u65e5\n");
    writer.Close();
    writer.Write(L"after closing");
    // A line break of the text's own goes out as CR LF too, as in a text-mode stream.
    EXPECT_EQ(m.ReadFile(L"C:\\Program Files\\Halvex\\Norvane\\logs\\today\\run.log"),
              "caf\xE9 ?\r\n\r\n");
}

TEST(LogWriterTest, OpeningMakesTheFileAnew) {
    testing::TestMachine m;
    m.WriteFile(L"C:\\x.log", "old\r\n");
    auto machine = m.Load();
    CLogWriter writer(machine->Platform());
    ASSERT_EQ(writer.Open(L"C:\\x.log"), 1);
    EXPECT_EQ(m.ReadFile(L"C:\\x.log"), "");
}

TEST(LogWriterTest, LongLineIsCutToTheLineBuffer) {
    testing::TestMachine m;
    auto machine = m.Load();
    CLogWriter writer(machine->Platform());
    ASSERT_EQ(writer.Open(L"C:\\x.log"), 1);
    writer.Write(std::wstring(5000, L'x'));
    EXPECT_EQ(m.ReadFile(L"C:\\x.log").size(), 4095u + 2u);
}

}  // namespace
}  // namespace norvane
