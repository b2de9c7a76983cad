#pragma once

#include <GL/gl.h>

// OpenGL errors made visible from outside: with QUORVEL_LOG_GL_ERRORS set
// (to anything but 0 or empty) when the program starts, every error the
// buffer finds, and every error it would otherwise discard unseen, is
// written to standard error as one line starting "OpenGL error". Long runs
// of the program count those lines.
class TGxGlErrorLog {
public:
    static bool Enabled();
    // `where` says what found it ("before a frame", "after a frame").
    static void Report(GLenum error, const char* where);
    // Errors reported since the program started.
    static long Count();
};
