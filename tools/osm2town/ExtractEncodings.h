#pragma once

#include <string>

// An OSM XML extract in the other forms the importer reads, for tests and
// fuzz seeds: gzip and bzip2 compressed, and converted to PBF by libosmium.
std::string gzipExtract(const std::string& xml);
std::string bzip2Extract(const std::string& xml);
std::string pbfExtract(const std::string& xml);
