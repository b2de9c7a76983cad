#pragma once

#include <source_location>
#include <stdexcept>
#include <string>

// Every error the program reports to the user is an exception carrying the
// message text; the event layer shows it in the application's error box.
class EGxError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A programming error detected by the engine; the message names the source location.
class EGxAssertion : public EGxError {
public:
    explicit EGxAssertion(const std::string& message,
                          std::source_location where = std::source_location::current());
    const std::string& bareMessage() const { return m_message; }

private:
    std::string m_message;
};

// An OpenGL error found after a frame; the message is GLU's text for it.
class EOpenGLError : public EGxError {
public:
    using EGxError::EGxError;
};

// Raises EGxAssertion with the message unless the condition holds.
inline void gxAssert(bool condition, const std::string& message,
                     std::source_location where = std::source_location::current())
{
    if (!condition)
        throw EGxAssertion(message, where);
}
// The same for a fixed text, made into a string only when raised: checks run
// for each of a town's hundreds of thousands of objects.
inline void gxAssert(bool condition, const char* message,
                     std::source_location where = std::source_location::current())
{
    if (!condition)
        throw EGxAssertion(message, where);
}
