#include "FileBundle.h"

#include <cstdint>

namespace fuzz {

std::string bundleFiles(const Files& files)
{
    std::string out;
    for (const auto& [name, bytes] : files) {
        out += name;
        out += '\0';
        const auto size = static_cast<std::uint32_t>(bytes.size());
        for (int shift = 0; shift < 32; shift += 8)
            out += static_cast<char>((size >> shift) & 0xFF);
        out += bytes;
    }
    return out;
}

Files unbundleFiles(std::string_view input)
{
    Files files;
    while (!input.empty()) {
        const std::size_t zero = input.find('\0');
        if (zero == std::string_view::npos)
            break;
        std::string name(input.substr(0, zero));
        input.remove_prefix(zero + 1);
        std::uint32_t size = 0;
        for (int shift = 0; shift < 32 && !input.empty(); shift += 8) {
            size |= std::uint32_t(static_cast<unsigned char>(input.front())) << shift;
            input.remove_prefix(1);
        }
        const std::size_t taken = std::min<std::size_t>(size, input.size());
        files.emplace_back(std::move(name), std::string(input.substr(0, taken)));
        input.remove_prefix(taken);
    }
    return files;
}

} // namespace fuzz
