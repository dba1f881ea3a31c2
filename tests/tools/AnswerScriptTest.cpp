// The runner's answer script as read from its file: what is an action line, and which files are
// no script at all.
#include "AnswerScript.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace norvane::runner {
namespace {

namespace fs = std::filesystem;

class AnswerScriptTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = fs::temp_directory_path() /
                   ("norvane-answer-script-" + std::to_string(getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::string Write(const std::string& name, const std::string& content) {
        std::ofstream(m_folder / name, std::ios::binary) << content;
        return (m_folder / name).string();
    }

    fs::path m_folder;
};

TEST_F(AnswerScriptTest, ActionLinesWithTheirNumbersWithOrWithoutAByteOrderMark) {
    const std::string body = "tick Corvida Model A\r\n\r\n# the confirmation\r\n  ok  \r\nno";
    for (const std::string& bom : {std::string(), std::string("\xEF\xBB\xBF")}) {
        SCOPED_TRACE(bom.empty() ? "plain" : "with a byte-order mark");
        AnswerScript script;
        std::string error;
        ASSERT_TRUE(ReadAnswerScript(Write("script.txt", bom + body), script, error)) << error;
        EXPECT_EQ(script.answers,
                  (std::deque<std::wstring>{L"tick Corvida Model A", L"ok", L"no"}));
        EXPECT_EQ(script.lines, (std::deque<std::size_t>{1, 4, 5}));
    }
    // Only at the start of the file is the mark no part of the text.
    AnswerScript script;
    std::string error;
    ASSERT_TRUE(ReadAnswerScript(Write("late.txt", "ok\n\xEF\xBB\xBFno"), script, error));
    EXPECT_EQ(script.answers.size(), 2u);
    EXPECT_NE(script.answers[1], L"no");
}

TEST_F(AnswerScriptTest, AFolderOrAMissingFileIsNoScript) {
    fs::create_directory(m_folder / "folder.txt");
    for (const fs::path& path : {m_folder / "folder.txt", m_folder / "missing.txt"}) {
        SCOPED_TRACE(path.filename().string());
        AnswerScript script;
        std::string error;
        EXPECT_FALSE(ReadAnswerScript(path.string(), script, error));
        EXPECT_NE(error.find(path.string()), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace norvane::runner
