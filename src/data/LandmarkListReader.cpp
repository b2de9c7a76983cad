#include "data/LandmarkListReader.h"

#include "base/ByteReader.h"
#include "base/GxException.h"
#include "base/StrToFloat.h"
#include "base/StrToInt.h"

#include <cmath>
#include <utility>

namespace {
constexpr std::size_t kBlockLines = 14;
} // namespace

LandmarkList LandmarkList::fromFolder(const std::string& folder)
{
    // An empty folder is the working folder, never the root.
    const std::string dataFolder = folder.empty() ? "." : folder;
    const std::vector<char> bytes = ByteReader::readFile(dataFolder + "/fl.dat");
    return LandmarkList(splitLines(std::string(bytes.begin(), bytes.end())));
}

LandmarkList::LandmarkList(std::vector<std::string> lines) : m_lines(std::move(lines)) {}

int LandmarkList::count() const
{
    return landmarkCount(m_lines.size());
}

const std::string& LandmarkList::line(std::size_t i) const
{
    if (i >= m_lines.size())
        throw EGxError("List index out of bounds (" + std::to_string(i) + ")");
    return m_lines[i];
}

float LandmarkList::number(std::size_t i) const
{
    return StrToFloat(line(i));
}

const std::string& LandmarkList::meshLine(int i) const
{
    return line(kBlockLines * std::size_t(i));
}

LandmarkRecord LandmarkList::record(int i) const
{
    const std::size_t b = kBlockLines * std::size_t(i);
    LandmarkRecord r;
    r.meshFile = line(b);
    auto read = [&](std::array<float, 3>& v, std::size_t first) {
        for (std::size_t k = 0; k < 3; ++k)
            v[k] = number(first + k);
    };
    read(r.position, b + 1);
    read(r.scale, b + 4);
    read(r.direction, b + 7);
    read(r.up, b + 10);
    r.colour = StrToInt(line(b + 13));
    return r;
}

std::vector<LandmarkRecord> readLandmarkList(const std::string& dataFolder)
{
    const LandmarkList list = LandmarkList::fromFolder(dataFolder);
    std::vector<LandmarkRecord> records;
    for (int i = 0; i < list.count(); ++i)
        records.push_back(list.record(i));
    return records;
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", i);
        if (end == std::string::npos) {
            lines.push_back(text.substr(i));
            break;
        }
        lines.push_back(text.substr(i, end - i));
        i = end + 1;
        if (text[end] == '\r' && i < text.size() && text[i] == '\n')
            ++i;
    }
    return lines;
}

int landmarkCount(std::size_t lineCount)
{
    const float blocks = float(lineCount) / float(kBlockLines) - 1.0f;
    const long r = std::lrint(blocks); // halves to even
    return r < 0 ? 0 : int(r) + 1;
}

std::string landmarkName(const std::string& meshLine)
{
    const std::size_t separator = meshLine.find_last_of("\\:");
    std::string name = separator == std::string::npos ? meshLine : meshLine.substr(separator + 1);
    if (name.size() >= 4)
        name.resize(name.size() - 4);
    return name;
}
