#include "base/GxException.h"

#include <filesystem>

namespace {
std::string withLocation(const std::string& message, const std::source_location& where)
{
    const std::string file = std::filesystem::path(where.file_name()).filename().string();
    return message + " (" + file + ", line " + std::to_string(where.line()) + ")";
}
} // namespace

EGxAssertion::EGxAssertion(const std::string& message, std::source_location where)
    : EGxError(withLocation(message, where)), m_message(message)
{
}
