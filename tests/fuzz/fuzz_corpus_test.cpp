// Every fuzz target's seeds and minimised findings, fed to the same entry
// point the libFuzzer programs use: seeds are sound files and must load;
// findings once crashed, hung or ran out of memory and must now be read or
// refused with the program's own message. Memory faults show in the
// sanitizer build.
#include "FuzzTargets.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

class FuzzCorpus : public ::testing::TestWithParam<std::string> {
protected:
    const fuzz::Target& target() const { return *fuzz::findTarget(GetParam()); }
};

std::vector<std::string> targetNames()
{
    std::vector<std::string> names;
    for (const fuzz::Target& t : fuzz::targets())
        names.push_back(t.name);
    return names;
}

std::string fileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace

TEST_P(FuzzCorpus, SeedsLoad)
{
    const fuzz::Files seeds = target().seeds();
    ASSERT_FALSE(seeds.empty());
    for (const auto& [name, bytes] : seeds) {
        const fuzz::Result result = target().run(bytes);
        EXPECT_TRUE(result.loaded) << name << ": " << result.error;
    }
}

TEST_P(FuzzCorpus, FindingsAreReadOrRefused)
{
    const std::filesystem::path folder = std::filesystem::path(QUORVEL_FUZZ_FINDINGS) / GetParam();
    if (!std::filesystem::is_directory(folder))
        GTEST_SKIP() << "no findings for " << GetParam();
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        SCOPED_TRACE(entry.path().filename().string());
        const fuzz::Result result = target().run(fileBytes(entry.path()));
        EXPECT_TRUE(result.loaded || !result.error.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Readers, FuzzCorpus, ::testing::ValuesIn(targetNames()),
                         [](const auto& info) { return info.param; });

TEST(FileBundle, FilesComeBackAndACutInputKeepsWhatIsThere)
{
    const fuzz::Files files = {{"data.mod", std::string("\0\1\2", 3)}, {"sub/x.3ds", ""}, {"fl.dat", "abc"}};
    const std::string bundle = fuzz::bundleFiles(files);
    EXPECT_EQ(fuzz::unbundleFiles(bundle), files);
    // Cut inside the last file's bytes, then inside its size.
    EXPECT_EQ(fuzz::unbundleFiles(bundle.substr(0, bundle.size() - 1)).back(),
              (std::pair<std::string, std::string>{"fl.dat", "ab"}));
    EXPECT_EQ(fuzz::unbundleFiles(bundle.substr(0, bundle.size() - 5)).back(),
              (std::pair<std::string, std::string>{"fl.dat", ""}));
    EXPECT_TRUE(fuzz::unbundleFiles("no terminating zero").empty());
}
