#pragma once

#include "base/FileSource.h"
#include "engine/materials/Picture.h"

#include <string>
#include <string_view>

// Picture files by extension, case-insensitively: bmp, ico, jpg, jpeg.
// emf and wmf are known kinds without a decoder on this platform.
bool isRegisteredPictureExtension(const std::string& fileName);

// Loads a picture file. A missing file raises ETexture "Could not open
// file: <name>", a metafile the same text with the reason, an unregistered
// extension "Unknown picture file extension (.<ext>)", a damaged file
// ETexture with the decoder's reason and the file name.
Picture loadPictureFile(const std::string& fileName);

// A complete BMP file held in memory; EGxError "Bitmap image is not valid".
Picture decodeBmpPicture(std::string_view bytes);
