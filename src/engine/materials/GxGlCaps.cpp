#include "engine/materials/GxGlCaps.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <cstdio>
#include <cstring>
#include <string>

namespace {
bool hasExtension(const std::string& all, const char* name)
{
    const std::size_t length = std::strlen(name);
    for (std::size_t pos = all.find(name); pos != std::string::npos; pos = all.find(name, pos + 1)) {
        const bool startOk = pos == 0 || all[pos - 1] == ' ';
        const bool endOk = pos + length == all.size() || all[pos + length] == ' ';
        if (startOk && endOk)
            return true;
    }
    return false;
}

bool atLeast(const TGxGlCaps& c, int major, int minor)
{
    return c.major > major || (c.major == major && c.minor >= minor);
}
} // namespace

const TGxGlCaps& GxGlCaps()
{
    static TGxGlCaps caps;
    if (caps.probed)
        return caps;
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (!version)
        return caps; // no current context: try again later
    TGxGlCaps c;
    c.probed = true;
    std::sscanf(version, "%d.%d", &c.major, &c.minor);
    const auto* ext = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    const std::string extensions = ext ? ext : "";
    c.multitexture = atLeast(c, 1, 3) || hasExtension(extensions, "GL_ARB_multitexture");
    if (c.multitexture) {
        GLint units = 1;
        glGetIntegerv(GL_MAX_TEXTURE_UNITS, &units);
        c.maxTextureUnits = units > 0 ? units : 1;
    }
    GLint size = 64;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    c.maxTextureSize = size > 0 ? size : 64;
    c.edgeClamp = atLeast(c, 1, 2) || hasExtension(extensions, "GL_EXT_texture_edge_clamp")
                  || hasExtension(extensions, "GL_SGIS_texture_edge_clamp");
    c.anisotropic = hasExtension(extensions, "GL_EXT_texture_filter_anisotropic")
                    || hasExtension(extensions, "GL_ARB_texture_filter_anisotropic");
    c.generateMipmap = atLeast(c, 1, 4) || hasExtension(extensions, "GL_SGIS_generate_mipmap");
    c.compression = atLeast(c, 1, 3) || hasExtension(extensions, "GL_ARB_texture_compression");
    c.cubeMap = atLeast(c, 1, 3) || hasExtension(extensions, "GL_ARB_texture_cube_map");
    caps = c;
    return caps;
}
