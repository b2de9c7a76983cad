#pragma once

#include <QTemporaryDir>
#include <string>

// A temporary folder removed at the end of the test.
class TempDir {
public:
    std::string path() const { return m_dir.path().toStdString(); }
    std::string file(const std::string& name) const { return path() + "/" + name; }

private:
    QTemporaryDir m_dir;
};
