#include "engine/materials/GxTexture.h"

#include "engine/materials/GxGlApi.h"
#include "engine/materials/GxGlCaps.h"
#include "engine/materials/GxLibMaterial.h"
#include "engine/materials/GxMaterial.h"
#include "engine/materials/GxMaterialContext.h"
#include "engine/materials/GxStateCache.h"
#include "engine/materials/GxTexCoordRouter.h"
#include "engine/scene/GxListHandle.h"

#include <GL/glext.h>
#include <GL/glu.h>
#include <QOpenGLContext>

TGxTexture::TGxTexture(IGxChangeListener* owner)
    : TGxUpdateAbleObject(owner), m_image(std::make_unique<TGxPersistentImage>(this)), m_envColor(this, 0, 0, 0, 0)
{
}

TGxTexture::~TGxTexture()
{
    ReleaseGlObjects();
}

void TGxTexture::NotifyChange(IGxChangeListener* sender)
{
    if (sender == &m_envColor)
        m_parametersChanged = true;
    else if (sender == m_image.get())
        m_imageChanged = true;
    TGxUpdateAbleObject::NotifyChange(sender);
}

void TGxTexture::parametersChanged()
{
    m_parametersChanged = true;
    NotifyChange(this);
}

void TGxTexture::imageSettingsChanged()
{
    m_imageChanged = true;
    NotifyChange(this);
}

void TGxTexture::structureChanged()
{
    if (dynamic_cast<TGxMaterial*>(Owner()))
        Owner()->StructureChanged();
    else
        NotifyChange(this);
}

void TGxTexture::replaceImage(std::unique_ptr<TGxTextureImage> image)
{
    m_image = std::move(image);
    m_imageChanged = true;
}

void TGxTexture::SetImage(const TGxTextureImage* image)
{
    if (!image) {
        replaceImage(std::make_unique<TGxPersistentImage>(this));
        NotifyChange(this);
        return;
    }
    if (image->ClassName() != m_image->ClassName())
        replaceImage(TGxTextureImage::Create(image->ClassName(), this));
    m_image->Assign(*image);
    m_imageChanged = true;
    NotifyChange(this);
}

void TGxTexture::SetImageClassName(const std::string& name)
{
    if (name == m_image->ClassName())
        return;
    auto image = TGxTextureImage::Create(name, this);
    if (!image)
        return;
    replaceImage(std::move(image));
    NotifyChange(this);
}

void TGxTexture::AssignPicture(const Picture& picture)
{
    auto* pictureImage = dynamic_cast<TGxPictureImage*>(m_image.get());
    if (!pictureImage || dynamic_cast<TGxPicFileImage*>(m_image.get())) {
        replaceImage(std::make_unique<TGxPersistentImage>(this));
        pictureImage = static_cast<TGxPictureImage*>(m_image.get());
    }
    pictureImage->SetPicture(picture);
}

#define GX_TEXTURE_SETTER(Name, member, onChange)                                                                 \
    void TGxTexture::Set##Name(decltype(member) v)                                                               \
    {                                                                                                            \
        if (member == v)                                                                                         \
            return;                                                                                              \
        member = v;                                                                                              \
        onChange();                                                                                              \
    }

GX_TEXTURE_SETTER(ImageAlpha, m_imageAlpha, imageSettingsChanged)
GX_TEXTURE_SETTER(ImageBrightness, m_imageBrightness, imageSettingsChanged)
GX_TEXTURE_SETTER(ImageGamma, m_imageGamma, imageSettingsChanged)
GX_TEXTURE_SETTER(MagFilter, m_magFilter, parametersChanged)
GX_TEXTURE_SETTER(MinFilter, m_minFilter, parametersChanged)
GX_TEXTURE_SETTER(TextureMode, m_textureMode, parametersChanged)
GX_TEXTURE_SETTER(TextureWrap, m_textureWrap, parametersChanged)
GX_TEXTURE_SETTER(TextureFormat, m_textureFormat, parametersChanged)
GX_TEXTURE_SETTER(Compression, m_compression, parametersChanged)
GX_TEXTURE_SETTER(FilteringQuality, m_filteringQuality, parametersChanged)
GX_TEXTURE_SETTER(NormalMapScale, m_normalMapScale, parametersChanged)
#undef GX_TEXTURE_SETTER

void TGxTexture::SetMappingMode(TGxTextureMappingMode v)
{
    if (m_mappingMode == v)
        return;
    const bool userChange = m_mappingMode == tmmUser || v == tmmUser;
    m_mappingMode = v;
    if (userChange)
        structureChanged();
    else
        NotifyChange(this);
}

void TGxTexture::SetMappingSCoordinates(const std::array<float, 4>& v)
{
    m_mappingS = v;
    NotifyChange(this);
}

void TGxTexture::SetMappingTCoordinates(const std::array<float, 4>& v)
{
    m_mappingT = v;
    NotifyChange(this);
}

void TGxTexture::SetDisabled(bool v)
{
    if (m_disabled == v)
        return;
    m_disabled = v;
    structureChanged();
}

void TGxTexture::Assign(const TGxTexture& source)
{
    if (&source == this)
        return;
    const bool structure = m_disabled != source.m_disabled
                           || (m_mappingMode == tmmUser) != (source.m_mappingMode == tmmUser);
    m_imageAlpha = source.m_imageAlpha;
    m_textureMode = source.m_textureMode;
    m_textureWrap = source.m_textureWrap;
    m_textureFormat = source.m_textureFormat;
    m_compression = source.m_compression;
    m_minFilter = source.m_minFilter;
    m_magFilter = source.m_magFilter;
    m_mappingMode = source.m_mappingMode;
    m_mappingS = source.m_mappingS;
    m_mappingT = source.m_mappingT;
    m_disabled = source.m_disabled;
    SetImage(source.m_image.get());
    m_imageChanged = true;
    m_parametersChanged = true;
    if (structure)
        structureChanged();
}

void TGxTexture::DoOnTextureNeeded(std::string& fileName)
{
    if (OnTextureNeeded)
        OnTextureNeeded(fileName);
}

GLenum TGxTexture::InternalFormat(bool* compressed) const
{
    const TGxTextureFormat format = m_textureFormat == tfDefault ? tfRGBA : m_textureFormat;
    const TGxTextureCompression compression = m_compression == tcDefault ? tcNone : m_compression;
    const bool compress = compression != tcNone && GxGlCaps().compression;
    if (compressed)
        *compressed = false;
    if (compress) {
        GLenum f = 0;
        switch (format) {
        case tfRGB:
        case tfRGB16:
        case tfNormalMap: f = GL_COMPRESSED_RGB; break;
        case tfRGBA:
        case tfRGBA16: f = GL_COMPRESSED_RGBA; break;
        case tfAlpha: f = GL_COMPRESSED_ALPHA; break;
        case tfLuminance: f = GL_COMPRESSED_LUMINANCE; break;
        case tfLuminanceAlpha: f = GL_COMPRESSED_LUMINANCE_ALPHA; break;
        case tfIntensity: f = GL_COMPRESSED_INTENSITY; break;
        default: break;
        }
        if (f) {
            if (compressed)
                *compressed = true;
            return f;
        }
    }
    switch (format) {
    case tfRGB: return GL_RGB8;
    case tfRGB16: return GL_RGB5;
    case tfRGBA16: return GL_RGBA4;
    case tfAlpha: return GL_ALPHA8;
    case tfLuminance: return GL_LUMINANCE8;
    case tfLuminanceAlpha: return GL_LUMINANCE8_ALPHA8;
    case tfIntensity: return GL_INTENSITY8;
    case tfNormalMap: return GL_RGB8;
    case tfRGBAFloat16: return GL_RGBA16F;
    case tfRGBAFloat32: return GL_RGBA32F;
    default: return GL_RGBA8;
    }
}

bool TGxTexture::usableHere() const
{
    QOpenGLContext* current = QOpenGLContext::currentContext();
    if (!m_hadContext)
        return current == nullptr;
    return m_context && current && (current == m_context || QOpenGLContext::areSharing(current, m_context));
}

GLuint TGxTexture::EnsureUploaded(TGxStateCache* cache)
{
    // A name from another context (the view's context was made anew) means
    // nothing here, or another texture: upload afresh.
    if (m_handle && !usableHere())
        ReleaseGlObjects();
    if (m_handle && !m_imageChanged && !m_parametersChanged)
        return m_handle;
    if (!m_handle) {
        glGenTextures(1, &m_handle);
        m_context = QOpenGLContext::currentContext();
        m_hadContext = m_context != nullptr;
    }
    GLint previous = 0;
    if (cache) {
        cache->BindTexture(cache->ActiveTextureUnit(), GL_TEXTURE_2D, m_handle);
    } else {
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
        glBindTexture(GL_TEXTURE_2D, m_handle);
    }
    applyParameters();
    m_imageChanged = false;
    m_parametersChanged = false;
    struct RestoreBinding {
        bool active;
        GLint name;
        ~RestoreBinding()
        {
            if (active)
                glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(name));
        }
    } restore{cache == nullptr, previous};
    prepareImage();
    return m_handle;
}

void TGxTexture::applyParameters()
{
    const TGxGlCaps& caps = GxGlCaps();
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    const GLint clamp = caps.edgeClamp ? GL_CLAMP_TO_EDGE : GL_CLAMP;
    GLint wrapS = GL_REPEAT, wrapT = GL_REPEAT;
    const bool floatFormat = m_textureFormat == tfRGBAFloat16 || m_textureFormat == tfRGBAFloat32;
    switch (floatFormat ? twNone : m_textureWrap) {
    case twNone: wrapS = clamp; wrapT = clamp; break;
    case twVertical: wrapS = clamp; break;
    case twHorizontal: wrapT = clamp; break;
    default: break;
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrapS);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrapT);
    static constexpr GLint kMin[] = {GL_NEAREST, GL_LINEAR, GL_NEAREST_MIPMAP_NEAREST, GL_LINEAR_MIPMAP_NEAREST,
                                     GL_NEAREST_MIPMAP_LINEAR, GL_LINEAR_MIPMAP_LINEAR};
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, floatFormat ? GL_NEAREST : kMin[m_minFilter]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER,
                    floatFormat || m_magFilter == maNearest ? GL_NEAREST : GL_LINEAR);
    if (caps.anisotropic)
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, m_filteringQuality == tfAnisotropic ? 2.0f : 1.0f);
}

void TGxTexture::prepareImage()
{
    TGxTextureImage& image = *m_image;
    struct Release {
        TGxTextureImage& image;
        ~Release() { image.ReleasePixels(); }
    } release{image};
    TGxBitmap32* pixels = image.AcquirePixels(GL_TEXTURE_2D);
    if (!pixels || pixels->Width() == 0 || pixels->Height() == 0)
        return;
    bool compressed = false;
    const GLenum internalFormat = InternalFormat(&compressed);
    if (m_textureFormat == tfNormalMap)
        pixels->ToNormalMap(m_normalMapScale, m_textureWrap == twBoth || m_textureWrap == twHorizontal,
                            m_textureWrap == twBoth || m_textureWrap == twVertical);
    pixels->ApplyImageAlpha(m_imageAlpha);
    if (m_imageBrightness != 1.0f)
        pixels->SetBrightness(m_imageBrightness);
    if (m_imageGamma != 1.0f)
        pixels->SetGamma(m_imageGamma);
    if (compressed) {
        const TGxTextureCompression c = m_compression;
        glHint(GL_TEXTURE_COMPRESSION_HINT,
               c == tcHighQuality ? GL_NICEST : c == tcHighSpeed ? GL_FASTEST : GL_DONT_CARE);
    }
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR)
        throw EOpenGLError(reinterpret_cast<const char*>(gluErrorString(error)));
    const auto size = pixels->UploadTexture(GL_TEXTURE_2D, m_minFilter, internalFormat);
    m_texWidth = size[0];
    m_texHeight = size[1];
    m_memorySize = -1;
    if (compressed) {
        GLint bytes = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_COMPRESSED_IMAGE_SIZE, &bytes);
        m_memorySize = glGetError() == GL_NO_ERROR ? bytes : -1;
    }
    for (int i = 0; i < 7 && glGetError() != GL_NO_ERROR; ++i) {
    }
}

void TGxTexture::applyEnvironment(TGxStateCache& cache)
{
    static constexpr GLenum kModes[] = {GL_DECAL, GL_MODULATE, GL_BLEND, GL_REPLACE};
    cache.SetTexEnvMode(kModes[m_textureMode]);
    cache.SetTexEnvColor(m_envColor.AsArray());
}

void TGxTexture::applyTexGen(TGxStateCache& cache)
{
    auto planes = [&](GLenum mode, GLenum plane) {
        GxGl().TexGeni(GL_S, GL_TEXTURE_GEN_MODE, static_cast<GLint>(mode));
        GxGl().TexGeni(GL_T, GL_TEXTURE_GEN_MODE, static_cast<GLint>(mode));
        if (plane) {
            GxGl().TexGenfv(GL_S, plane, m_mappingS.data());
            GxGl().TexGenfv(GL_T, plane, m_mappingT.data());
        }
        cache.Enable(GL_TEXTURE_GEN_S);
        cache.Enable(GL_TEXTURE_GEN_T);
    };
    switch (m_mappingMode) {
    case tmmObjectLinear: planes(GL_OBJECT_LINEAR, GL_OBJECT_PLANE); break;
    case tmmEyeLinear: planes(GL_EYE_LINEAR, GL_EYE_PLANE); break;
    case tmmSphere: planes(GL_SPHERE_MAP, 0); break;
    case tmmCubeMapReflection:
    case tmmCubeMapNormal:
    case tmmCubeMapLight0:
    case tmmCubeMapCamera:
        if (GxGlCaps().cubeMap) {
            const GLint mode = m_mappingMode == tmmCubeMapNormal ? GL_NORMAL_MAP : GL_REFLECTION_MAP;
            for (GLenum coord : {GL_S, GL_T, GL_R})
                GxGl().TexGeni(coord, GL_TEXTURE_GEN_MODE, mode);
            cache.Enable(GL_TEXTURE_GEN_S);
            cache.Enable(GL_TEXTURE_GEN_T);
            cache.Enable(GL_TEXTURE_GEN_R);
        }
        break;
    default: break;
    }
}

void TGxTexture::ApplyState(TGxMaterialContext& context)
{
    TGxStateCache& cache = *context.stateCache;
    cache.SetActiveTexture(0);
    if (m_disabled) {
        cache.Disable(GL_TEXTURE_2D);
        TGxTexCoordRouter::SetMode(mtcmMain);
        return;
    }
    cache.Enable(GL_TEXTURE_2D);
    cache.BindTexture(0, GL_TEXTURE_2D, EnsureUploaded(&cache));
    applyEnvironment(cache);
    applyTexGen(cache);
    TGxTexCoordRouter::SetMode(mtcmMain);
}

void TGxTexture::RestoreState(TGxMaterialContext& context)
{
    TGxStateCache& cache = *context.stateCache;
    cache.SetActiveTexture(0);
    cache.Disable(GL_TEXTURE_2D);
    if (m_mappingMode != tmmUser) {
        cache.Disable(GL_TEXTURE_GEN_S);
        cache.Disable(GL_TEXTURE_GEN_T);
        cache.Disable(GL_TEXTURE_GEN_R);
    }
}

void TGxTexture::ApplyAsTextureN(int unit, TGxMaterialContext& context, const TGxLibMaterial* lib)
{
    if (m_disabled)
        return;
    TGxStateCache& cache = *context.stateCache;
    cache.SetActiveTexture(unit);
    cache.Enable(GL_TEXTURE_2D);
    cache.BindTexture(unit, GL_TEXTURE_2D, EnsureUploaded(&cache));
    if (lib && !lib->TextureMatrixIsIdentity())
        cache.SetTextureMatrix(lib->TextureMatrix().data());
    applyEnvironment(cache);
    applyTexGen(cache);
    cache.SetActiveTexture(0);
}

void TGxTexture::UnApplyAsTextureN(int unit, TGxMaterialContext& context, const TGxLibMaterial* lib)
{
    TGxStateCache& cache = *context.stateCache;
    cache.SetActiveTexture(unit);
    cache.Disable(GL_TEXTURE_GEN_S);
    cache.Disable(GL_TEXTURE_GEN_T);
    cache.Disable(GL_TEXTURE_GEN_R);
    if (lib && !lib->TextureMatrixIsIdentity())
        cache.ResetTextureMatrix();
    cache.Disable(GL_TEXTURE_2D);
    cache.SetActiveTexture(0);
}

void TGxTexture::ReleaseGlObjects()
{
    if (m_handle) {
        // Delete only where the name lives: its own context or one sharing
        // with it, now or when one of them is next current. A context that
        // is gone took its textures with it.
        if (usableHere())
            glDeleteTextures(1, &m_handle);
        else if (m_context)
            TGxListHandle::ReleaseName(TGxListHandle::TextureObject, m_context->shareGroup(), m_handle);
        TGxStateCache::TextureDeleted();
        m_handle = 0;
    }
    m_context = nullptr;
    m_hadContext = false;
    m_imageChanged = true;
    m_parametersChanged = true;
    m_memorySize = -1;
}
