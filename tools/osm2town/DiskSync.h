#pragma once

#include <filesystem>
#include <functional>

// Makes a written file, or the entries of a folder, last through a power
// cut: its bytes reach the disk before the call returns. Raises ImportError
// when the system cannot do that.
void syncToDisk(const std::filesystem::path& path);

// What the folder writer calls for each file and folder it must make lasting;
// tests pass their own to see the order or to fail a step.
using SyncToDisk = std::function<void(const std::filesystem::path&)>;
