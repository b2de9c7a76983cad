#pragma once

#include <optional>
#include <string>
#include <string_view>

// town.ini: an optional UTF-8 file beside a town's data files that names the
// town, written by the importer:
//
//   [town]
//   title=Москва, Тверской район
//
// Lines end in LF or CRLF; a UTF-8 byte order mark is skipped; blank lines and
// lines starting with ';' or '#' are comments; section and key names are
// matched without regard to ASCII case; spaces around names and values are
// dropped; the value is the rest of the line after the first '='. Later keys
// win. Other sections and keys are ignored.
inline constexpr char kTownIniName[] = "town.ini";

// At most this much of the file is read: a title is one line, the rest of a
// larger file is not looked at.
inline constexpr std::size_t kTownIniReadLimit = 64 * 1024;

// The title of the [town] section as UTF-8 bytes (not checked: invalid
// sequences show as replacement characters), or nothing when there is none
// or it is empty.
std::optional<std::string> parseTownTitle(std::string_view iniText);

// The title from `folder`/town.ini; nothing when the file is absent or unreadable.
std::optional<std::string> readTownTitle(const std::string& folder);
