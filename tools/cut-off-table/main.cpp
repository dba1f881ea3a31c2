// cut-off-table: a silent removal cut off after each of its changes to the machine and finished
// two ways, run again and (from the same cut) by a restart alone, against the same removal made
// without a cut. Prints one line for each cut-off: the change it came after and whether each way
// left the machine as the whole run leaves it, then which differences remain after which changes.
//   cut-off-table [MACHINE [COMMAND LINE]]   (default: the demo machine, removing both series)
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "harness/CutOffStudy.h"
#include "support/Text.h"

using namespace norvane;

namespace {

// "3-7, 9": the cut-offs of a list, runs of consecutive ones joined.
std::string Ranges(const std::vector<std::uint64_t>& changes) {
    std::string out;
    for (std::size_t i = 0; i < changes.size();) {
        std::size_t j = i;
        while (j + 1 < changes.size() && changes[j + 1] == changes[j] + 1)
            ++j;
        out += (out.empty() ? "" : ", ") + std::to_string(changes[i]);
        if (j > i)
            out += "-" + std::to_string(changes[j]);
        i = j + 1;
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string machine = argc > 1 ? argv[1] : NORVANE_SOURCE_DIR "/examples/machines/demo";
    const std::wstring command =
        argc > 2 ? text::FromUtf8(argv[2]) : L"/s /x Corvida Model A,Corvida Model B";
    const testing::CutOffStudy study(machine, command);
    std::printf("%s, %s: %llu changes\n\n%5s  %-6s  %-9s  %s\n", machine.c_str(),
                text::ToUtf8(command).c_str(), static_cast<unsigned long long>(study.Changes()),
                "k", "second", "restart", "change cut after");
    std::map<std::vector<std::wstring>, std::vector<std::uint64_t>> byDifference;
    std::size_t same = 0, restartSame = 0, untouched = 0, beyond = 0;
    for (std::uint64_t k = 1; k <= study.Changes(); ++k) {
        const auto outcome = study.CutAt(k);
        same += outcome.differences.empty();
        beyond += !outcome.removedBeyond.empty();
        if (!outcome.differences.empty())
            byDifference[outcome.differences].push_back(k);
        // Before the work list, nothing is removed yet: a restart alone must change nothing.
        const bool restartOk = outcome.listWritten ? outcome.restartDifferences.empty()
                                                   : outcome.restartChanges.empty();
        restartSame += restartOk && outcome.listWritten;
        untouched += restartOk && !outcome.listWritten;
        if (!restartOk) {
            std::vector<std::wstring> key{L"(restart)"};
            const auto& items =
                outcome.listWritten ? outcome.restartDifferences : outcome.restartChanges;
            key.insert(key.end(), items.begin(), items.end());
            byDifference[key].push_back(k);
        }
        std::printf("%5llu  %-6s  %-9s  %s\n", static_cast<unsigned long long>(k),
                    outcome.differences.empty() ? "same" : "DIFF",
                    !restartOk            ? "DIFF"
                    : outcome.listWritten ? "same"
                                          : "untouched",
                    text::ToUtf8(outcome.change).c_str());
    }
    const auto changes = static_cast<unsigned long long>(study.Changes());
    std::printf("\n%zu of %llu cut-offs: the second run leaves the machine as the whole run does\n",
                same, changes);
    std::printf(
        "%zu of %llu cut-offs: a restart alone leaves it as the whole run and a restart do,"
        " and %zu, cut before the work list, leave it untouched\n",
        restartSame, changes, untouched);
    std::printf("%zu cut-offs: the two runs removed something the whole run keeps\n", beyond);
    for (const auto& [differences, cuts] : byDifference) {
        std::printf("\nafter change %s (%zu):\n", Ranges(cuts).c_str(), cuts.size());
        for (const auto& item : differences)
            std::printf("  %s\n", text::ToUtf8(item).c_str());
    }
    return beyond || same + restartSame + untouched != 2 * study.Changes() ? 1 : 0;
}
