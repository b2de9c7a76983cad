#pragma once

#include "engine/materials/GxColor.h"
#include "engine/materials/GxTextureImage.h"
#include "engine/materials/GxTextureTypes.h"
#include "base/GxException.h"

#include <GL/gl.h>

#include <QPointer>
#include <array>
#include <functional>
#include <memory>
#include <string>

class QOpenGLContext;
class TGxLibMaterial;
class TGxStateCache;
struct TGxMaterialContext;

// A texture file that cannot be read.
class ETexture : public EGxError {
public:
    using EGxError::EGxError;
};

// An image mapped onto a material's surfaces. Created disabled and empty;
// uploaded at the first use after it is enabled, and again after any change
// of its parameters or image.
class TGxTexture : public TGxUpdateAbleObject {
public:
    explicit TGxTexture(IGxChangeListener* owner);
    ~TGxTexture() override;

    TGxTextureImage& Image() { return *m_image; }
    const TGxTextureImage& Image() const { return *m_image; }
    // Another class replaces the image by a new one of that class; none
    // gives an empty TGxPersistentImage. The image is then assigned in.
    void SetImage(const TGxTextureImage* image);
    std::string ImageClassName() const { return m_image->ClassName(); }
    // A registered class name other than the current one replaces the image
    // by an empty one of that class; unknown names are ignored.
    void SetImageClassName(const std::string& name);
    // Puts a toolkit picture into the image (made a persistent image first
    // when it is of another class).
    void AssignPicture(const Picture& picture);
    void AssignImage(const QImage& image) { AssignPicture(Picture::fromImage(image)); }

    TGxTextureImageAlpha ImageAlpha() const { return m_imageAlpha; }
    void SetImageAlpha(TGxTextureImageAlpha v);
    float ImageBrightness() const { return m_imageBrightness; }
    void SetImageBrightness(float v);
    float ImageGamma() const { return m_imageGamma; }
    void SetImageGamma(float v);
    TGxMagFilter MagFilter() const { return m_magFilter; }
    void SetMagFilter(TGxMagFilter v);
    TGxMinFilter MinFilter() const { return m_minFilter; }
    void SetMinFilter(TGxMinFilter v);
    TGxTextureMode TextureMode() const { return m_textureMode; }
    void SetTextureMode(TGxTextureMode v);
    TGxTextureWrap TextureWrap() const { return m_textureWrap; }
    void SetTextureWrap(TGxTextureWrap v);
    TGxTextureFormat TextureFormat() const { return m_textureFormat; }
    void SetTextureFormat(TGxTextureFormat v);
    TGxTextureCompression Compression() const { return m_compression; }
    void SetCompression(TGxTextureCompression v);
    TGxTextureFilteringQuality FilteringQuality() const { return m_filteringQuality; }
    void SetFilteringQuality(TGxTextureFilteringQuality v);
    TGxTextureMappingMode MappingMode() const { return m_mappingMode; }
    // To or from tmmUser changes what recorded geometry must send.
    void SetMappingMode(TGxTextureMappingMode v);
    const std::array<float, 4>& MappingSCoordinates() const { return m_mappingS; }
    const std::array<float, 4>& MappingTCoordinates() const { return m_mappingT; }
    void SetMappingSCoordinates(const std::array<float, 4>& v);
    void SetMappingTCoordinates(const std::array<float, 4>& v);
    TGxColor& EnvColor() { return m_envColor; }
    const TGxColor& EnvColor() const { return m_envColor; }
    void SetEnvColor(const TGxColor& c) { m_envColor.Assign(c); }
    bool Disabled() const { return m_disabled; }
    bool Enabled() const { return !m_disabled; }
    // Enabling or disabling changes what the owning object's recorded
    // geometry must send (when the owner is a material).
    void SetDisabled(bool v);
    void SetEnabled(bool v) { SetDisabled(!v); }
    float NormalMapScale() const { return m_normalMapScale; }
    void SetNormalMapScale(float v);

    void Assign(const TGxTexture& source);

    // The owner may rewrite a file name before an image loads it.
    std::function<void(std::string& fileName)> OnTextureNeeded;
    void DoOnTextureNeeded(std::string& fileName);

    // The OpenGL texture name, created and uploaded first when needed; bound
    // on the cache's active unit (without a cache the previous binding is
    // restored afterwards).
    GLuint EnsureUploaded(TGxStateCache* cache = nullptr);
    GLuint Handle() const { return m_handle; }
    bool ImageChangePending() const { return m_imageChanged; }
    bool ParameterChangePending() const { return m_parametersChanged; }
    int TexWidth() const { return m_texWidth; }
    int TexHeight() const { return m_texHeight; }
    int MemorySize() const { return m_memorySize; }
    // The image's pixels changed: upload again at the next use.
    void MarkImageChanged() { m_imageChanged = true; }

    void ApplyState(TGxMaterialContext& context);
    void RestoreState(TGxMaterialContext& context);
    // On texture unit k >= 1, with the texture matrix of `lib` when given.
    void ApplyAsTextureN(int unit, TGxMaterialContext& context, const TGxLibMaterial* lib = nullptr);
    void UnApplyAsTextureN(int unit, TGxMaterialContext& context, const TGxLibMaterial* lib = nullptr);

    // Deletes the OpenGL texture; the next use uploads again.
    void ReleaseGlObjects();

    void NotifyChange(IGxChangeListener* sender) override;

    // The internal format OpenGL receives and whether it is compressed.
    GLenum InternalFormat(bool* compressed = nullptr) const;

private:
    void parametersChanged();
    void imageSettingsChanged();
    void structureChanged();
    void applyParameters();
    void prepareImage();
    void applyEnvironment(TGxStateCache& cache);
    void applyTexGen(TGxStateCache& cache);
    void replaceImage(std::unique_ptr<TGxTextureImage> image);
    // The name can be bound in the current context.
    bool usableHere() const;

    std::unique_ptr<TGxTextureImage> m_image;
    TGxTextureImageAlpha m_imageAlpha = tiaDefault;
    float m_imageBrightness = 1.0f;
    float m_imageGamma = 1.0f;
    TGxMagFilter m_magFilter = maLinear;
    TGxMinFilter m_minFilter = miLinearMipmapLinear;
    TGxTextureMode m_textureMode = tmDecal;
    TGxTextureWrap m_textureWrap = twBoth;
    TGxTextureFormat m_textureFormat = tfDefault;
    TGxTextureCompression m_compression = tcDefault;
    TGxTextureFilteringQuality m_filteringQuality = tfIsotropic;
    TGxTextureMappingMode m_mappingMode = tmmUser;
    std::array<float, 4> m_mappingS{1, 0, 0, 0};
    std::array<float, 4> m_mappingT{0, 1, 0, 0};
    TGxColor m_envColor;
    bool m_disabled = true;
    float m_normalMapScale = 0.125f;

    GLuint m_handle = 0;
    QPointer<QOpenGLContext> m_context; // where m_handle lives
    bool m_hadContext = false;
    bool m_imageChanged = true;
    bool m_parametersChanged = true;
    int m_texWidth = 0;
    int m_texHeight = 0;
    int m_memorySize = -1;
};
