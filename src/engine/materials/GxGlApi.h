#pragma once

#include <GL/gl.h>

// The OpenGL entry points that materials, textures and the state cache call
// while drawing. They go through this table so that a test can count or
// observe them; it starts with the real OpenGL functions.
struct TGxGlApi {
    void (*Enable)(GLenum cap);
    void (*Disable)(GLenum cap);
    GLboolean (*IsEnabled)(GLenum cap);
    void (*Materialfv)(GLenum face, GLenum name, const GLfloat* params);
    void (*Materiali)(GLenum face, GLenum name, GLint param);
    void (*PolygonMode)(GLenum face, GLenum mode);
    void (*FrontFace)(GLenum mode);
    void (*BindTexture)(GLenum target, GLuint texture);
    void (*ActiveTexture)(GLenum unit);
    void (*MatrixMode)(GLenum mode);
    void (*LoadIdentity)();
    void (*LoadMatrixf)(const GLfloat* m);
    void (*PushMatrix)();
    void (*PopMatrix)();
    void (*BlendFunc)(GLenum sfactor, GLenum dfactor);
    void (*AlphaFunc)(GLenum func, GLclampf ref);
    void (*Color4fv)(const GLfloat* v);
    void (*TexEnvi)(GLenum target, GLenum name, GLint param);
    void (*TexEnvfv)(GLenum target, GLenum name, const GLfloat* params);
    void (*TexGeni)(GLenum coord, GLenum name, GLint param);
    void (*TexGenfv)(GLenum coord, GLenum name, const GLfloat* params);
};

// The process-wide table.
TGxGlApi& GxGl();
