#pragma once

// What the current OpenGL implementation offers, probed once with a current
// context. Optional features are used only when present.
struct TGxGlCaps {
    bool probed = false;
    int major = 1;
    int minor = 0;
    bool multitexture = false;
    int maxTextureUnits = 1;
    int maxTextureSize = 64;
    bool edgeClamp = false;
    bool anisotropic = false;
    bool generateMipmap = false;
    bool compression = false;
    bool cubeMap = false;
};

// Probes on the first call made with a current context.
const TGxGlCaps& GxGlCaps();
