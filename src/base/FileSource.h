#pragma once

#include <map>
#include <string>
#include <vector>

// Where the readers take the files they read whole (data files, meshes,
// pictures): the disk, unless a test or a fuzzer serves them from memory.
class FileSource {
public:
    virtual ~FileSource() = default;
    // Whether `path` names a regular file.
    virtual bool isFile(const std::string& path) const = 0;
    // The whole file; raises "Cannot open file "<path>". <reason>".
    virtual std::vector<char> read(const std::string& path) const = 0;
};

// The source every reader uses; the disk unless a ScopedFileSource is alive.
const FileSource& fileSource();

// Files held in memory by path ("a/./b" and "a/b" are one file); nothing
// else exists.
class MemoryFileSource : public FileSource {
public:
    void add(const std::string& path, std::vector<char> bytes);
    bool isFile(const std::string& path) const override;
    std::vector<char> read(const std::string& path) const override;

private:
    std::map<std::string, std::vector<char>> m_files;
};

// Makes `source` the readers' source while it lives. The source must outlive it.
class ScopedFileSource {
public:
    explicit ScopedFileSource(const FileSource& source);
    ~ScopedFileSource();
    ScopedFileSource(const ScopedFileSource&) = delete;
    ScopedFileSource& operator=(const ScopedFileSource&) = delete;

private:
    const FileSource* m_previous;
};

// Our paths use "/"; names written on Windows may use "\".
std::string nativePath(const std::string& name);
