#include "DiskSync.h"

#include "OsmExtract.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

void syncToDisk(const std::filesystem::path& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw ImportError("не удалось открыть \"" + path.string() + "\" для записи на диск: " + std::strerror(errno));
    int failed = 0;
    while ((failed = ::fsync(fd)) != 0 && errno == EINTR) {
    }
    const int error = errno;
    ::close(fd);
    // Some file systems cannot sync a folder (EINVAL); their entries are as
    // lasting as they will ever be.
    if (failed != 0 && !(error == EINVAL && std::filesystem::is_directory(path)))
        throw ImportError("не удалось записать \"" + path.string() + "\" на диск: " + std::strerror(error));
}
