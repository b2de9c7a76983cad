#pragma once

#include "engine/materials/GxBitmap32.h"
#include "engine/materials/Picture.h"
#include "engine/scene/GxUpdateAble.h"

#include <GL/gl.h>

#include <memory>
#include <string>
#include <vector>

class TGxTexture;

// The pixels of a texture, produced on demand as a TGxBitmap32.
class TGxTextureImage : public TGxUpdateAbleObject {
public:
    explicit TGxTextureImage(TGxTexture* owner);

    virtual std::string ClassName() const = 0;
    // The pixels, or none; kept until ReleasePixels.
    virtual TGxBitmap32* AcquirePixels(GLenum target) = 0;
    virtual void ReleasePixels() {}
    // Copies another image of the same class.
    virtual void Assign(const TGxTextureImage& source) {}
    // Releases the pixels, tells the texture its image changed and notifies it.
    void MarkImageChanged();
    TGxTexture* OwnerTexture() const { return m_texture; }

    // The registered image classes, searched by class name.
    static const std::vector<std::string>& RegisteredClassNames();
    // A new, empty image of a registered class; none for an unknown name.
    static std::unique_ptr<TGxTextureImage> Create(const std::string& className, TGxTexture* owner);

private:
    TGxTexture* m_texture;
};

// A toolkit picture converted to pixels when they are asked for.
class TGxPictureImage : public TGxTextureImage {
public:
    using TGxTextureImage::TGxTextureImage;

    const ::Picture& Picture() const { return m_picture; }
    // Changing the picture marks the image changed.
    void SetPicture(const ::Picture& picture);
    void SetPicture(const QImage& image) { SetPicture(::Picture::fromImage(image)); }
    // Pixels become a 32-bit toolkit bitmap first.
    void AssignBitmap(const TGxBitmap32& bitmap);

    TGxBitmap32* AcquirePixels(GLenum target) override;
    void ReleasePixels() override;
    void Assign(const TGxTextureImage& source) override;

protected:
    ::Picture m_picture;
    std::unique_ptr<TGxBitmap32> m_pixels;
};

// The picture is part of the image. The default image class.
class TGxPersistentImage : public TGxPictureImage {
public:
    using TGxPictureImage::TGxPictureImage;
    std::string ClassName() const override { return "TGxPersistentImage"; }
    // Loads the picture from a file, after the texture's OnTextureNeeded
    // hook may have rewritten the name. A missing file clears the picture
    // and raises ETexture "Could not open file: <name>".
    void LoadPictureFile(const std::string& fileName);
};

// Holds only a file name; the picture is loaded while pixels are made.
class TGxPicFileImage : public TGxPictureImage {
public:
    using TGxPictureImage::TGxPictureImage;
    std::string ClassName() const override { return "TGxPicFileImage"; }
    const std::string& PictureFileName() const { return m_fileName; }
    void SetPictureFileName(const std::string& name);
    // A missing file fails once per name (assertion "Could not open file:
    // <name>"); the texture then stays empty. An unregistered extension
    // gives an empty picture.
    TGxBitmap32* AcquirePixels(GLenum target) override;
    void Assign(const TGxTextureImage& source) override;

private:
    std::string m_fileName;
    bool m_alreadyWarned = false;
};

// Registered so that the class name is known; the program never makes one.
class TGxBlankImage : public TGxTextureImage {
public:
    using TGxTextureImage::TGxTextureImage;
    std::string ClassName() const override { return "TGxBlankImage"; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    void SetSize(int width, int height);
    TGxBitmap32* AcquirePixels(GLenum target) override;
    void ReleasePixels() override { m_pixels.reset(); }
    void Assign(const TGxTextureImage& source) override;

private:
    int m_width = 256;
    int m_height = 256;
    std::unique_ptr<TGxBitmap32> m_pixels;
};

// Cube-map and floating-point images: registered by name only; they give
// no pixels for the two-dimensional textures the program uses.
class TGxCubeMapImage : public TGxTextureImage {
public:
    using TGxTextureImage::TGxTextureImage;
    std::string ClassName() const override { return "TGxCubeMapImage"; }
    TGxBitmap32* AcquirePixels(GLenum) override { return nullptr; }
};

class TGxFloatDataImage : public TGxTextureImage {
public:
    using TGxTextureImage::TGxTextureImage;
    std::string ClassName() const override { return "TGxFloatDataImage"; }
    TGxBitmap32* AcquirePixels(GLenum) override { return nullptr; }
};
