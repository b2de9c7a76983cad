#pragma once

#include <GL/gl.h>

#include <array>
#include <cstdint>

// The OpenGL state that materials change, remembered so that a run of
// objects with equal materials sends almost no calls: OpenGL is called only
// when a value differs from the remembered one. A value not known (after
// Invalidate) is always sent.
//
// Anything that changes OpenGL state behind the cache's back (QPainter over
// the view, a second context) makes the remembered state stale: call
// Invalidate at the start of every frame, before the state is prepared.
class TGxStateCache {
public:
    static constexpr int kMaxUnits = 8;

    TGxStateCache();

    // Forgets everything; the next request of each kind reaches OpenGL.
    void Invalidate();
    // The reset at the start of a pass and after objects that changed
    // material state themselves: material colours of both faces back to
    // OpenGL's defaults, polygon modes and texture bindings forgotten, front
    // face counter-clockwise. Enables are kept.
    void ResetForPass();
    // Material colours of both faces sent as OpenGL's defaults and remembered.
    void ResetMaterialColors();
    // The material colours of both faces are not known any more (drawing
    // with colour material, or a display list, changed them behind the
    // cache): the next request of each reaches OpenGL.
    void ForgetMaterialColors();

    void Enable(GLenum cap);
    void Disable(GLenum cap);
    void SetEnabled(GLenum cap, bool on) { on ? Enable(cap) : Disable(cap); }
    // The remembered state; asks OpenGL when it is not known.
    bool IsEnabled(GLenum cap);

    // glMaterial for one face (GL_FRONT or GL_BACK): shininess, emission,
    // ambient, diffuse, specular, in this order, each only when changed.
    void SetMaterialColors(GLenum face, const float* emission, const float* ambient,
                           const float* diffuse, const float* specular, int shininess);
    void SetPolygonMode(GLenum face, GLenum mode);
    void SetFrontFace(GLenum mode);

    void SetBlendFunc(GLenum sfactor, GLenum dfactor);
    void SetAlphaFunc(GLenum func, float ref);

    // Texture unit selection (glActiveTexture); unit 0 needs no multitexturing.
    void SetActiveTexture(int unit);
    int ActiveTextureUnit() const { return m_activeUnit < 0 ? 0 : m_activeUnit; }
    // Selects the unit and binds the texture there unless it is bound already.
    void BindTexture(int unit, GLenum target, GLuint name);
    // Texture environment of the active unit.
    void SetTexEnvMode(GLenum mode);
    void SetTexEnvColor(const float* rgba);
    // Texture matrix of the active unit; the model-view matrix is current afterwards.
    void SetTextureMatrix(const float* m);
    void ResetTextureMatrix();

    // A texture name was deleted somewhere: every cache forgets its bindings,
    // since OpenGL may hand the same name out again.
    static void TextureDeleted();

private:
    enum class Known : std::uint8_t { Unknown, No, Yes };
    struct Face {
        bool known = false;
        std::array<float, 4> emission{}, ambient{}, diffuse{}, specular{};
        int shininess = 0;
        GLenum polygonMode = 0; // 0: unknown
    };
    struct Unit {
        std::array<GLuint, 3> binding{}; // 2D, cube map, rectangle
        std::array<bool, 3> bindingKnown{};
        GLenum envMode = 0;
        bool envColorKnown = false;
        std::array<float, 4> envColor{};
        Known identityMatrix = Known::Unknown;
    };

    Known* capSlot(GLenum cap);
    void forgetBindings();

    std::array<Known, 24> m_caps{};
    std::array<Face, 2> m_faces{};
    std::array<Unit, kMaxUnits> m_units{};
    int m_activeUnit = -1; // -1: unknown
    GLenum m_frontFace = 0;
    GLenum m_blendSrc = 0, m_blendDst = 0;
    bool m_blendKnown = false;
    GLenum m_alphaFunc = 0;
    float m_alphaRef = 0;
    bool m_alphaKnown = false;
    std::uint64_t m_deletionEpoch = 0;
};
