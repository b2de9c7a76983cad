#include "ExtractEncodings.h"

#include <bzlib.h>
#include <osmium/io/any_input.hpp>
#include <osmium/io/any_output.hpp>
#include <unistd.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

std::string gzipExtract(const std::string& xml)
{
    z_stream s{};
    deflateInit2(&s, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&s, uLong(xml.size())) + 32, '\0');
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(xml.data()));
    s.avail_in = uInt(xml.size());
    s.next_out = reinterpret_cast<Bytef*>(out.data());
    s.avail_out = uInt(out.size());
    deflate(&s, Z_FINISH);
    out.resize(s.total_out);
    deflateEnd(&s);
    return out;
}

std::string bzip2Extract(const std::string& xml)
{
    std::string out(xml.size() * 2 + 600, '\0');
    unsigned int size = unsigned(out.size());
    BZ2_bzBuffToBuffCompress(out.data(), &size, const_cast<char*>(xml.data()), unsigned(xml.size()), 9, 0, 0);
    out.resize(size);
    return out;
}

std::string pbfExtract(const std::string& xml)
{
    // libosmium writes PBF only to files.
    static int serial = 0;
    const std::filesystem::path path = std::filesystem::temp_directory_path()
                                       / ("osm2town-" + std::to_string(::getpid()) + "-" + std::to_string(++serial)
                                          + ".osm.pbf");
    {
        osmium::io::Reader reader(osmium::io::File(xml.data(), xml.size(), "osm"));
        osmium::io::Writer writer(path.string(), osmium::io::overwrite::allow);
        while (osmium::memory::Buffer buffer = reader.read())
            writer(std::move(buffer));
        writer.close();
        reader.close();
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    in.close();
    std::filesystem::remove(path);
    return bytes.str();
}
