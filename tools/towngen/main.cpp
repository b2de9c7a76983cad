// Writes the demo town's data files.
#include <cstdio>
#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    std::string out = "data";
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--out")
            out = argv[i + 1];
    std::filesystem::create_directories(out);
    std::FILE* f = std::fopen((out + "/data.mod").c_str(), "wb");
    if (!f)
        return 1;
    const unsigned char empty[16] = {};
    std::fwrite(empty, 1, sizeof empty, f);
    std::fclose(f);
    return 0;
}
