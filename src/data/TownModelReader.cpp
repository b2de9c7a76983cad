#include "data/TownModelReader.h"

#include "data/ByteReader.h"

void LoadObjFromFile(const std::string& path)
{
    // For now the model is only opened; the reader fills the scene from it.
    ByteReader::fromFile(path);
}
