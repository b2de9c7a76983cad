#include "data/TownIniWriter.h"

std::string writeTownIni(std::string_view titleUtf8)
{
    std::string title(titleUtf8);
    for (char& c : title)
        if (c == '\n' || c == '\r' || c == '\t')
            c = ' ';
    const std::size_t first = title.find_first_not_of(' ');
    const std::size_t last = title.find_last_not_of(' ');
    title = first == std::string::npos ? std::string() : title.substr(first, last - first + 1);
    return "[town]\ntitle=" + title + "\n";
}
