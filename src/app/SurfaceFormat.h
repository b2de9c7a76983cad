#pragma once

// Sets the default OpenGL surface format for every context the program makes:
// a 2.1 compatibility context (legacy calls work), 24-bit depth, 8-bit stencil.
// Must run before the QApplication is created.
void installDefaultSurfaceFormat();
