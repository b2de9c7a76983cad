#pragma once

#include <GL/gl.h>

#include <initializer_list>
#include <vector>

// Where the vertex emitters' texture coordinates go.
enum TMapTexCoordMode {
    mtcmUndefined,
    mtcmNull,      // dropped
    mtcmMain,      // texture unit 0 (plain glTexCoord)
    mtcmDual,      // units 0 and 1
    mtcmSecond,    // unit 1
    mtcmArbitrary, // a list of units 0 to 7
};

// The process-wide router through which every vertex emitter sends its
// texture coordinates, so that a material can send them to the units its
// textures use. Changes made inside a bracket (BeginUpdate/EndUpdate,
// nestable) take effect when the outermost bracket closes.
class TGxTexCoordRouter {
public:
    static void SetMode(TMapTexCoordMode mode);
    // mtcmArbitrary with these units (0 to 7).
    static void SetUnits(const std::vector<int>& units);
    // Adds units to the routing: the units the current mode serves together
    // with the added ones, as an arbitrary list.
    static void AddUnits(const std::vector<int>& units);
    static void BeginUpdate();
    static void EndUpdate();

    // The routing in force (changes inside an open bracket not yet applied).
    static TMapTexCoordMode Mode();
    static std::vector<int> Units();

    static void TexCoord2f(float s, float t);
    static void TexCoord2fv(const float* st);
    static void TexCoord3f(float s, float t, float r);
    static void TexCoord3fv(const float* str);
    static void TexCoord4f(float s, float t, float r, float q);

    // Vertex arrays: points every routed unit's texture-coordinate array at
    // the data and enables it; Disable turns them off again. Unit 0 is the
    // client's active unit afterwards.
    static void EnableTexCoordArray(GLint size, GLenum type, GLsizei stride, const void* pointer);
    static void DisableTexCoordArray();
};
