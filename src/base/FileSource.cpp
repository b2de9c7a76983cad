#include "base/FileSource.h"

#include "base/ByteReader.h"
#include "base/GxException.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>

namespace {
class DiskFileSource : public FileSource {
public:
    bool isFile(const std::string& path) const override
    {
        std::error_code ec;
        return std::filesystem::is_regular_file(path, ec);
    }

    std::vector<char> read(const std::string& path) const override
    {
        // A folder opens as a stream whose length reads as the largest offset.
        std::error_code ec;
        if (std::filesystem::is_directory(path, ec))
            throw EGxError(cannotOpenFileMessage(path, EISDIR));
        errno = 0;
        std::ifstream in(path, std::ios::binary);
        if (!in)
            throw EGxError(cannotOpenFileMessage(path, errno ? errno : ENOENT));
        in.seekg(0, std::ios::end);
        const std::streamoff length = in.tellg();
        in.seekg(0, std::ios::beg);
        if (length < 0)
            throw EGxError(cannotOpenFileMessage(path, errno ? errno : EIO));
        std::vector<char> data(static_cast<std::size_t>(length));
        if (length > 0 && !in.read(data.data(), length))
            throw EGxError(cannotOpenFileMessage(path, errno ? errno : EIO));
        return data;
    }
};

const DiskFileSource kDisk;
const FileSource* g_source = &kDisk;

std::string key(const std::string& path)
{
    return std::filesystem::path(path).lexically_normal().string();
}
} // namespace

const FileSource& fileSource()
{
    return *g_source;
}

void MemoryFileSource::add(const std::string& path, std::vector<char> bytes)
{
    m_files[key(path)] = std::move(bytes);
}

bool MemoryFileSource::isFile(const std::string& path) const
{
    return m_files.count(key(path)) != 0;
}

std::vector<char> MemoryFileSource::read(const std::string& path) const
{
    const auto it = m_files.find(key(path));
    if (it == m_files.end())
        throw EGxError(cannotOpenFileMessage(path, ENOENT));
    return it->second;
}

ScopedFileSource::ScopedFileSource(const FileSource& source) : m_previous(g_source)
{
    g_source = &source;
}

ScopedFileSource::~ScopedFileSource()
{
    g_source = m_previous;
}

std::string nativePath(const std::string& name)
{
    std::string path = name;
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}
