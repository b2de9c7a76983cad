#include "data/LandmarkListReader.h"

#include "data/ByteReader.h"
#include "data/Cp1251.h"
#include "data/StrToFloat.h"
#include "data/StrToInt.h"
#include "engine/materials/GxMaterial.h"
#include "engine/objects/GxFreeForm.h"
#include "engine/scene/GxScene.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

namespace {
constexpr std::size_t kBlockLines = 14;

bool isIdentifier(const std::string& name)
{
    auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (name.empty() || !letter(name[0]))
        return false;
    return std::all_of(name.begin() + 1, name.end(), [&](char c) { return letter(c) || (c >= '0' && c <= '9'); });
}

std::string lowerAscii(const std::string& s)
{
    std::string lower = s;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = char(c + 32);
    return lower;
}

std::string display(const std::string& bytes)
{
    return cp1251::decode(bytes).toStdString();
}

// A landmark's name must be an identifier and differ, letter case aside,
// from the names already taken: the other landmarks' and the two roots'.
// The scene's other objects do not count (the main window's own "Wand" does
// not stop a landmark made from wand.3ds).
class LandmarkNames {
public:
    explicit LandmarkNames(const TGxScene& scene)
        : m_taken{lowerAscii(scene.ObjectRoot()->Name()), lowerAscii(scene.CameraRoot()->Name())}
    {
    }

    void name(TGxComponent& landmark, const std::string& name)
    {
        if (!name.empty()) {
            if (!isIdentifier(name))
                throw EGxError("''" + display(name) + "'' is not a valid component name");
            if (!m_taken.insert(lowerAscii(name)).second)
                throw EGxError("A component named " + display(name) + " already exists");
        }
        landmark.SetName(name);
    }

private:
    std::unordered_set<std::string> m_taken;
};

class Lines {
public:
    explicit Lines(std::vector<std::string> lines) : m_lines(std::move(lines)) {}
    const std::string& operator[](std::size_t i) const
    {
        if (i >= m_lines.size())
            throw EGxError("List index out of bounds (" + std::to_string(i) + ")");
        return m_lines[i];
    }
    float number(std::size_t i) const { return StrToFloat((*this)[i]); }
    std::size_t size() const { return m_lines.size(); }

private:
    std::vector<std::string> m_lines;
};
} // namespace

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

void LoadLandmarks(TGxScene& scene, const std::string& folder, TGxMaterialLibrary&)
{
    // An empty folder is the working folder, never the root.
    const std::string dataFolder = folder.empty() ? "." : folder;
    const std::vector<char> bytes = ByteReader::readFile(dataFolder + "/fl.dat");
    const Lines lines(splitLines(std::string(bytes.begin(), bytes.end())));
    const int count = landmarkCount(lines.size());
    LandmarkNames names(scene);
    for (int i = 0; i < count; ++i) {
        const std::size_t b = kBlockLines * std::size_t(i);
        auto* landmark = scene.ObjectRoot()->SpawnChild<TGxFreeForm>();
        // The list is in the Windows code page; paths here are UTF-8.
        landmark->LoadFromFile(dataFolder + "/" + display(lines[b]));
        names.name(*landmark, landmarkName(lines[b]));
        // One component at a time: for Direction and Up each is followed
        // by the coordinate rule, so the order of the lines matters.
        auto assign = [&](TGxCoordinates& v, std::size_t first) {
            v.SetX(lines.number(first));
            v.SetY(lines.number(first + 1));
            v.SetZ(lines.number(first + 2));
        };
        assign(landmark->Position(), b + 1);
        assign(landmark->Scale(), b + 4);
        assign(landmark->Direction(), b + 7);
        assign(landmark->Up(), b + 10);
        TGxMaterial& material = landmark->Material();
        material.FrontProperties().Diffuse().SetWinColor(StrToInt(lines[b + 13]));
        material.Texture().SetEnabled(true);
        material.Texture().SetTextureMode(tmModulate);
    }
}
