#pragma once

#include "base/ByteReader.h"

#include <benchmark/benchmark.h>

#include <string>

// The machine's limit for loading a file: reading it into memory and summing
// every byte once. Returns the file's size.
inline std::size_t plainPassOverFile(const std::string& path)
{
    const std::vector<char> raw = ByteReader::readFile(path);
    unsigned sum = 0;
    for (char c : raw)
        sum += static_cast<unsigned char>(c);
    benchmark::DoNotOptimize(sum);
    return raw.size();
}
