#include "engine/materials/GxTextureImage.h"

#include "base/FileSource.h"
#include "engine/materials/GxTexture.h"
#include "engine/materials/PictureFile.h"
#include "base/GxException.h"

TGxTextureImage::TGxTextureImage(TGxTexture* owner) : TGxUpdateAbleObject(owner), m_texture(owner) {}

void TGxTextureImage::MarkImageChanged()
{
    ReleasePixels();
    if (m_texture)
        m_texture->MarkImageChanged();
    NotifyChange(this);
}

const std::vector<std::string>& TGxTextureImage::RegisteredClassNames()
{
    static const std::vector<std::string> names{"TGxBlankImage", "TGxPersistentImage", "TGxPicFileImage",
                                                "TGxCubeMapImage", "TGxFloatDataImage"};
    return names;
}

std::unique_ptr<TGxTextureImage> TGxTextureImage::Create(const std::string& className, TGxTexture* owner)
{
    if (className == "TGxBlankImage")
        return std::make_unique<TGxBlankImage>(owner);
    if (className == "TGxPersistentImage")
        return std::make_unique<TGxPersistentImage>(owner);
    if (className == "TGxPicFileImage")
        return std::make_unique<TGxPicFileImage>(owner);
    if (className == "TGxCubeMapImage")
        return std::make_unique<TGxCubeMapImage>(owner);
    if (className == "TGxFloatDataImage")
        return std::make_unique<TGxFloatDataImage>(owner);
    return nullptr;
}

void TGxPictureImage::SetPicture(const ::Picture& picture)
{
    m_picture = picture;
    MarkImageChanged();
}

void TGxPictureImage::AssignBitmap(const TGxBitmap32& bitmap)
{
    ::Picture p;
    if (bitmap.DataSize() > 0) {
        p.kind = ::Picture::Kind::Bitmap;
        p.bitsPerPixel = 32;
        p.image = bitmap.ToImage();
    }
    SetPicture(p);
}

TGxBitmap32* TGxPictureImage::AcquirePixels(GLenum)
{
    if (!m_pixels) {
        m_pixels = std::make_unique<TGxBitmap32>();
        m_pixels->Assign(m_picture);
    }
    return m_pixels.get();
}

void TGxPictureImage::ReleasePixels()
{
    m_pixels.reset();
}

void TGxPictureImage::Assign(const TGxTextureImage& source)
{
    if (const auto* p = dynamic_cast<const TGxPictureImage*>(&source))
        SetPicture(p->m_picture);
}

void TGxPersistentImage::LoadPictureFile(const std::string& fileName)
{
    std::string name = fileName;
    if (OwnerTexture())
        OwnerTexture()->DoOnTextureNeeded(name);
    if (!fileSource().isFile(nativePath(name))) {
        SetPicture(::Picture{});
        throw ETexture("Could not open file: " + name);
    }
    SetPicture(loadPictureFile(name));
}

void TGxPicFileImage::SetPictureFileName(const std::string& name)
{
    if (name == m_fileName)
        return;
    m_fileName = name;
    m_alreadyWarned = false;
    MarkImageChanged();
}

TGxBitmap32* TGxPicFileImage::AcquirePixels(GLenum target)
{
    if (m_pixels)
        return m_pixels.get();
    if (m_picture.isEmpty() && !m_fileName.empty()) {
        std::string name = m_fileName;
        if (OwnerTexture())
            OwnerTexture()->DoOnTextureNeeded(name);
        if (fileSource().isFile(nativePath(name))) {
            if (isRegisteredPictureExtension(name))
                m_picture = loadPictureFile(name);
        } else {
            m_picture = ::Picture{};
            if (!m_alreadyWarned) {
                m_alreadyWarned = true;
                throw EGxAssertion("Could not open file: " + name);
            }
        }
    }
    TGxBitmap32* pixels = TGxPictureImage::AcquirePixels(target);
    m_picture = ::Picture{};
    return pixels;
}

void TGxPicFileImage::Assign(const TGxTextureImage& source)
{
    if (const auto* p = dynamic_cast<const TGxPicFileImage*>(&source))
        SetPictureFileName(p->m_fileName);
    else
        TGxPictureImage::Assign(source);
}

void TGxBlankImage::SetSize(int width, int height)
{
    m_width = width;
    m_height = height;
    MarkImageChanged();
}

TGxBitmap32* TGxBlankImage::AcquirePixels(GLenum)
{
    if (!m_pixels) {
        m_pixels = std::make_unique<TGxBitmap32>();
        m_pixels->SetSize(m_width, m_height);
    }
    return m_pixels.get();
}

void TGxBlankImage::Assign(const TGxTextureImage& source)
{
    if (const auto* b = dynamic_cast<const TGxBlankImage*>(&source))
        SetSize(b->m_width, b->m_height);
}
