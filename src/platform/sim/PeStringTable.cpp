#include "platform/sim/PeStringTable.h"

namespace norvane::sim {
namespace {

constexpr std::uint32_t kRtString = 6;
constexpr std::uint32_t kResourceDirectory = 2;  // IMAGE_DIRECTORY_ENTRY_RESOURCE
constexpr std::uint32_t kSubdirectory = 0x80000000;

// Little-endian reads that fail, rather than read on, past the end of the image.
class Image {
public:
    explicit Image(const std::vector<std::uint8_t>& bytes) : m_bytes(bytes) {}

    bool Has(std::uint64_t offset, std::uint64_t size) const {
        return offset <= m_bytes.size() && size <= m_bytes.size() - offset;
    }
    std::uint32_t U16(std::uint64_t offset) const {
        return m_bytes[offset] | (m_bytes[offset + 1] << 8);
    }
    std::uint32_t U32(std::uint64_t offset) const { return U16(offset) | (U16(offset + 2) << 16); }

private:
    const std::vector<std::uint8_t>& m_bytes;
};

struct Section {
    std::uint32_t virtualAddress = 0, virtualSize = 0, rawOffset = 0, rawSize = 0;
};

// The file offset of `size` bytes at a relative virtual address, when a section's raw data
// holds all of them.
std::optional<std::uint64_t> FileOffset(const std::vector<Section>& sections, std::uint32_t rva,
                                        std::uint32_t size) {
    for (const Section& section : sections) {
        const std::uint64_t start = section.virtualAddress;
        if (rva < start || std::uint64_t{rva} + size > start + section.rawSize)
            continue;
        return std::uint64_t{section.rawOffset} + (rva - start);
    }
    return std::nullopt;
}

struct Entry {
    std::uint32_t id = 0;
    std::uint32_t offset = 0;  // from the start of the resource directory, kSubdirectory marked
};

// A resource directory's entries with numeric IDs (named ones, which precede them, are skipped).
std::optional<std::vector<Entry>> IdEntries(const Image& image, std::uint64_t root,
                                            std::uint64_t rootSize, std::uint32_t directory) {
    if (directory > rootSize || !image.Has(root + directory, 16))
        return std::nullopt;
    const std::uint64_t at = root + directory;
    const std::uint32_t named = image.U16(at + 12), ids = image.U16(at + 14);
    if (!image.Has(at + 16, (std::uint64_t{named} + ids) * 8))
        return std::nullopt;
    std::vector<Entry> entries;
    for (std::uint32_t i = named; i < named + ids; ++i)
        entries.push_back({image.U32(at + 16 + i * 8), image.U32(at + 20 + i * 8)});
    return entries;
}

}  // namespace

std::optional<std::string> ReadPeStringTable(const std::vector<std::uint8_t>& bytes,
                                             std::map<std::uint32_t, std::wstring>& strings) {
    const Image image(bytes);
    if (!image.Has(0, 64) || bytes[0] != 'M' || bytes[1] != 'Z')
        return "not a PE image (no MZ header)";
    const std::uint64_t pe = image.U32(0x3C);
    if (!image.Has(pe, 24) || image.U32(pe) != 0x00004550)
        return "not a PE image (no PE signature)";
    const std::uint32_t sectionCount = image.U16(pe + 6);
    const std::uint32_t optionalSize = image.U16(pe + 20);
    const std::uint64_t optional = pe + 24;
    if (!image.Has(optional, optionalSize) || optionalSize < 2)
        return "the optional header is cut short";
    const std::uint32_t magic = image.U16(optional);
    if (magic != 0x10B && magic != 0x20B)
        return "the optional header is neither PE32 nor PE32+";
    const std::uint64_t directories = optional + (magic == 0x20B ? 112 : 96);
    const std::uint64_t countAt = directories - 4;
    if (countAt + 4 > optional + optionalSize || image.U32(countAt) <= kResourceDirectory ||
        directories + (kResourceDirectory + 1) * 8 > optional + optionalSize)
        return "the image has no resource directory";
    const std::uint32_t resourceRva = image.U32(directories + kResourceDirectory * 8);
    const std::uint32_t resourceSize = image.U32(directories + kResourceDirectory * 8 + 4);

    std::vector<Section> sections;
    const std::uint64_t table = optional + optionalSize;
    if (!image.Has(table, std::uint64_t{sectionCount} * 40))
        return "the section table is cut short";
    for (std::uint32_t i = 0; i < sectionCount; ++i) {
        const std::uint64_t at = table + i * 40;
        Section section{image.U32(at + 12), image.U32(at + 8), image.U32(at + 20),
                        image.U32(at + 16)};
        if (!image.Has(section.rawOffset, section.rawSize))
            return "a section's data lies past the end of the file";
        sections.push_back(section);
    }
    const auto root = FileOffset(sections, resourceRva, resourceSize);
    if (!root || resourceSize == 0)
        return "the resource directory lies outside the sections";

    const auto types = IdEntries(image, *root, resourceSize, 0);
    if (!types)
        return "the resource directory is cut short";
    for (const Entry& type : *types) {
        if (type.id != kRtString || !(type.offset & kSubdirectory))
            continue;
        const auto blocks = IdEntries(image, *root, resourceSize, type.offset & ~kSubdirectory);
        if (!blocks)
            return "the string table directory is cut short";
        for (const Entry& block : *blocks) {
            if (block.id == 0 || block.id > 0x1000 || !(block.offset & kSubdirectory))
                return "a string block has no language directory";
            const auto languages =
                IdEntries(image, *root, resourceSize, block.offset & ~kSubdirectory);
            if (!languages || languages->empty() || (languages->front().offset & kSubdirectory) ||
                !image.Has(*root + languages->front().offset, 16) ||
                languages->front().offset > resourceSize)
                return "a string block has no data";
            const std::uint64_t entry = *root + languages->front().offset;
            const auto data = FileOffset(sections, image.U32(entry), image.U32(entry + 4));
            if (!data)
                return "a string block's data lies outside the sections";
            const std::uint64_t end = *data + image.U32(entry + 4);
            std::uint64_t at = *data;
            for (std::uint32_t i = 0; i < 16; ++i) {
                if (at + 2 > end)
                    return "a string block is cut short";
                const std::uint32_t length = image.U16(at);
                at += 2;
                if (at + std::uint64_t{length} * 2 > end)
                    return "a string runs past its block";
                std::wstring text;
                for (std::uint32_t c = 0; c < length; ++c)
                    text += static_cast<wchar_t>(image.U16(at + c * 2));
                at += std::uint64_t{length} * 2;
                if (!text.empty())
                    strings[(block.id - 1) * 16 + i] = std::move(text);
            }
        }
    }
    return std::nullopt;
}

}  // namespace norvane::sim
