#pragma once

#include "FuzzTargets.h"

namespace fuzz {

// The OpenStreetMap importer on an extract held in memory (XML, gzip,
// bzip2 or PBF): its own refusal (ImportError) is a clean result. A town it
// makes is written to the program's files and read back as start-up reads
// it; a town the program then refuses is a finding, as is a crash.
Result runOsmImport(std::string_view input);
Files osmImportSeeds();

} // namespace fuzz
