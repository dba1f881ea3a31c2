// The input is a language library's resource script: it is read or refused, in bounded time.
#include <map>
#include <string>
#include <vector>

#include "FuzzTargets.h"
#include "platform/sim/RcStringTable.h"

namespace norvane::fuzz {

void RcStringTableTarget(const std::uint8_t* data, std::size_t size) {
    std::map<std::uint32_t, std::wstring> strings;
    const auto error =
        sim::ReadRcStringTable(std::vector<std::uint8_t>(data, data + size), strings);
    FuzzExpect(!error || error->line > 0 || !error->message.empty(), "a refusal says nothing");
}

}  // namespace norvane::fuzz
