// The removal's file deletion rule, over a file system that answers as a read-only file or a
// file in use does on Windows.
#include <gtest/gtest.h>

#include <deque>

#include "removal/Cleanup.h"

namespace norvane {
namespace {

namespace win = platform::win;

// Answers DeleteFile with the queued codes, one a call; records attribute changes.
class ScriptedFiles final : public platform::FileSystem {
public:
    std::deque<platform::WinError> deleteAnswers;
    std::vector<std::uint32_t> attributesSet;

    platform::WinError DeleteFile(const std::wstring&) override {
        const platform::WinError answer = deleteAnswers.front();
        deleteAnswers.pop_front();
        return answer;
    }
    platform::WinError SetAttributes(const std::wstring&, std::uint32_t attributes) override {
        attributesSet.push_back(attributes);
        return win::kSuccess;
    }
    platform::WinError Find(const std::wstring&, std::vector<platform::FindEntry>&) override {
        return win::kCallNotImplemented;
    }
    platform::WinError GetAttributes(const std::wstring&, std::uint32_t&) override {
        return win::kCallNotImplemented;
    }
    platform::WinError GetFileSize(const std::wstring&, std::uint64_t&) override {
        return win::kCallNotImplemented;
    }
    platform::WinError CreateDirectory(const std::wstring&) override {
        return win::kCallNotImplemented;
    }
    platform::WinError RemoveDirectory(const std::wstring&) override {
        return win::kCallNotImplemented;
    }
    bool PathFileExists(const std::wstring&) override { return false; }
    bool PathIsDirectory(const std::wstring&) override { return false; }
    platform::WinError GetCurrentDirectory(std::wstring&) override {
        return win::kCallNotImplemented;
    }
    platform::WinError SetCurrentDirectory(const std::wstring&) override {
        return win::kCallNotImplemented;
    }
    platform::WinError ReadFile(const std::wstring&, std::vector<std::uint8_t>&) override {
        return win::kCallNotImplemented;
    }
    platform::WinError WriteFile(const std::wstring&, const std::vector<std::uint8_t>&,
                                 bool) override {
        return win::kCallNotImplemented;
    }
    platform::WinError MoveFileReplacing(const std::wstring&, const std::wstring&) override {
        return win::kCallNotImplemented;
    }
};

TEST(FileDeletionTest, ReadOnlyFileIsMadeNormalAndCountsOnlyWhenTheSecondAttemptWorks) {
    ScriptedFiles files;
    files.deleteAnswers = {win::kAccessDenied, win::kSuccess};
    EXPECT_TRUE(DeleteFileByRule(files, L"C:\\x.dll"));
    EXPECT_EQ(files.attributesSet, (std::vector<std::uint32_t>{platform::kFileAttributeNormal}));

    // Denied twice: the file stays, and the removal must say so.
    files.deleteAnswers = {win::kAccessDenied, win::kAccessDenied};
    EXPECT_FALSE(DeleteFileByRule(files, L"C:\\x.dll"));
}

TEST(FileDeletionTest, MissingFileCountsAsRemovedAndOtherErrorsDoNot) {
    ScriptedFiles files;
    files.deleteAnswers = {win::kFileNotFound, win::kSharingViolation};
    EXPECT_TRUE(DeleteFileByRule(files, L"C:\\gone.dll"));
    EXPECT_FALSE(DeleteFileByRule(files, L"C:\\busy.dll"));
    EXPECT_TRUE(files.attributesSet.empty());
}

}  // namespace
}  // namespace norvane
