#include "data/FileHead.h"

#include <string>

void readFileMark(ByteReader& in, std::size_t headerSize, const char (&mark)[4], std::uint16_t version,
                  std::string_view markName)
{
    if (in.remaining() < headerSize)
        in.failDamaged("он короче заголовка (" + std::to_string(in.remaining()) + " байт из "
                       + std::to_string(headerSize) + ")");
    if (in.bytes(sizeof mark) != std::string_view(mark, sizeof mark))
        in.failDamaged("в начале нет метки " + std::string(markName));
    const auto found = static_cast<std::uint16_t>(in.int16());
    if (found != version)
        in.failDamaged("версия " + std::to_string(found) + " неизвестна (программа читает версию "
                       + std::to_string(version) + ")");
}

std::uint32_t readBoundedCount(ByteReader& in, std::size_t bound, std::string_view what)
{
    const auto count = static_cast<std::uint32_t>(in.int32());
    if (count > bound)
        in.failDamaged("объявлено " + std::to_string(count) + " " + std::string(what) + ", больше предела "
                       + std::to_string(bound));
    return count;
}
