#pragma once
// Forced into every file of the fuzzing build: clang 14 with GCC's standard
// library has no std::source_location (it needs a builtin of clang 15), and
// the engine's assertions name their source location with it. This gives
// the same interface from the builtins clang 14 has.
#include <version>

#if !defined(__cpp_lib_source_location) && defined(__clang__)
namespace std {
struct source_location {
    static constexpr source_location current(const char* file = __builtin_FILE(), const char* function = __builtin_FUNCTION(),
                                             unsigned line = __builtin_LINE()) noexcept
    {
        source_location where;
        where.m_file = file;
        where.m_function = function;
        where.m_line = line;
        return where;
    }
    constexpr const char* file_name() const noexcept { return m_file; }
    constexpr const char* function_name() const noexcept { return m_function; }
    constexpr unsigned line() const noexcept { return m_line; }
    constexpr unsigned column() const noexcept { return 0; }

private:
    const char* m_file = "";
    const char* m_function = "";
    unsigned m_line = 0;
};
} // namespace std
#endif
