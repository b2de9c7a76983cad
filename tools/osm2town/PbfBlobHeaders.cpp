#include "PbfBlobHeaders.h"

#include "OsmExtract.h"

#include <protozero/exception.hpp>
#include <protozero/pbf_reader.hpp>

#include <cstdint>
#include <optional>
#include <string>

namespace {
// libosmium's limit on a blob header.
constexpr std::size_t kMaxHeaderSize = 64 * 1024;
// Fields of a BlobHeader message.
constexpr protozero::pbf_tag_type kType = 1;
constexpr protozero::pbf_tag_type kDataSize = 3;
} // namespace

void checkPbfBlobHeaders(std::string_view bytes)
{
    std::size_t at = 0;
    for (std::size_t blob = 1; at < bytes.size(); ++blob) {
        auto fault = [blob](const std::string& what) {
            return ImportError("блок PBF №" + std::to_string(blob) + ": " + what);
        };
        if (bytes.size() - at < 4)
            throw fault("длина заголовка обрывается");
        const auto byte = [&](std::size_t i) { return std::uint32_t(static_cast<unsigned char>(bytes[at + i])); };
        const std::size_t size = byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
        at += 4;
        if (size > kMaxHeaderSize || size > bytes.size() - at)
            throw fault("заголовок длиной " + std::to_string(size) + " байт не помещается в файл");
        std::optional<std::string_view> type;
        std::int64_t dataSize = 0;
        try {
            protozero::pbf_reader header(bytes.data() + at, size);
            while (header.next()) {
                if (header.tag() == kType && header.wire_type() == protozero::pbf_wire_type::length_delimited) {
                    const protozero::data_view v = header.get_view();
                    type = std::string_view(v.data(), v.size());
                } else if (header.tag() == kDataSize && header.wire_type() == protozero::pbf_wire_type::varint) {
                    dataSize = header.get_int32();
                } else {
                    header.skip();
                }
            }
        } catch (const protozero::exception& e) {
            throw fault(std::string("заголовок не читается: ") + e.what());
        }
        at += size;
        const std::string_view expected = blob == 1 ? "OSMHeader" : "OSMData";
        if (!type)
            throw fault("у заголовка нет типа");
        if (*type != expected)
            throw fault("тип заголовка не «" + std::string(expected) + "»");
        if (dataSize <= 0 || std::uint64_t(dataSize) > bytes.size() - at)
            throw fault("блок длиной " + std::to_string(dataSize) + " байт не помещается в файл");
        at += std::size_t(dataSize);
    }
}
