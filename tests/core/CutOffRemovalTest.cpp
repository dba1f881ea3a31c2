// A silent removal of the demo package (its monitor, print processors, data folders and driver
// package) killed after each one of its changes to the machine, then finished by the same command
// run again, or by a restart alone: the machine is saved as the cut left it, and neither way takes
// away anything that the removal made without a cut keeps, or leaves anything it takes.
#include <gtest/gtest.h>

#include <cwchar>
#include <filesystem>
#include <numeric>

#include "harness/CutOffStudy.h"
#include "support/Text.h"

namespace norvane {
namespace {

using testing::CutOffStudy;

const CutOffStudy& DemoStudy() {
    static const CutOffStudy study(
        std::filesystem::path(NORVANE_SOURCE_DIR) / "examples" / "machines" / "demo",
        L"/s /x Corvida Model A,Corvida Model B");
    return study;
}

std::vector<std::uint64_t> EveryChange() {
    std::vector<std::uint64_t> changes(DemoStudy().Changes());
    std::iota(changes.begin(), changes.end(), 1);
    return changes;
}

// What a journal entry of a deletion names, as Inventory spells it: the key of
// "RegDeleteKey <key>", the file or folder of "DeleteFile "<path>"" and "RemoveDirectory ...".
std::wstring Deleted(const std::wstring& entry) {
    for (const wchar_t* call : {L"RegDeleteKey ", L"DeleteFile \"", L"RemoveDirectory \""}) {
        if (entry.starts_with(call)) {
            std::wstring path = entry.substr(std::wcslen(call));
            if (path.ends_with(L'"'))
                path.pop_back();
            return text::LowerAscii(path);
        }
    }
    return L"";
}

class CutOffRemovalTest : public ::testing::TestWithParam<std::uint64_t> {};

// Whichever way the cut run is finished, the machine ends as the run made without a cut leaves
// it: run again, or restarted (the continuation alone). Before the run has written its work list
// it has removed nothing, and a restart alone must change nothing either.
TEST_P(CutOffRemovalTest, EitherWayOfFinishingEndsAsTheWholeRun) {
    const CutOffStudy::Outcome outcome = DemoStudy().CutAt(GetParam());
    SCOPED_TRACE(text::ToUtf8(outcome.change));
    ASSERT_FALSE(outcome.change.empty()) << "the journal does not note the cut";
    // The machine was saved at the cut: what the last change deleted is gone from it already.
    if (const std::wstring deleted = Deleted(outcome.change); !deleted.empty()) {
        EXPECT_FALSE(outcome.afterCut.contains(deleted)) << text::ToUtf8(deleted);
    }
    EXPECT_EQ(outcome.removedBeyond, std::vector<std::wstring>{});
    EXPECT_EQ(outcome.differences, std::vector<std::wstring>{}) << "run again";
    if (outcome.listWritten) {
        EXPECT_EQ(outcome.restartDifferences, std::vector<std::wstring>{}) << "restarted";
    } else {
        EXPECT_EQ(outcome.restartChanges, std::vector<std::wstring>{}) << "restarted";
    }
}

INSTANTIATE_TEST_SUITE_P(Demo, CutOffRemovalTest, ::testing::ValuesIn(EveryChange()));

}  // namespace
}  // namespace norvane
