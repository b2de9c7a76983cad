#include "base/BmpDecoder.h"
#include "base/BmpEncoder.h"
#include "base/ByteWriter.h"
#include "base/PictureLimits.h"
#include "engine/materials/GxBitmap32.h"
#include "engine/materials/GxTexture.h"
#include "engine/materials/JpegDecoder.h"
#include "engine/materials/PictureFile.h"
#include "engine/materials/JpegEncoder.h"
#include "base/GxException.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>

namespace {
TGxBitmap32 bitmapOf(const std::vector<std::array<std::uint8_t, 4>>& pixels)
{
    TGxBitmap32 b;
    b.SetSize(static_cast<int>(pixels.size()), 1);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        std::copy(pixels[i].begin(), pixels[i].end(), b.Pixel(static_cast<int>(i), 0));
    return b;
}

std::vector<int> channel(const TGxBitmap32& b, int c)
{
    std::vector<int> v;
    for (int x = 0; x < b.Width(); ++x)
        v.push_back(b.Pixel(x, 0)[c]);
    return v;
}

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string messageOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(no error)";
}
} // namespace

TEST(GxBitmap32, ImageAlphaTable)
{
    // Intensities (R+G+B) div 3: 20, 0, 60, 20; the last pixel repeats the first colour.
    const std::vector<std::array<std::uint8_t, 4>> pixels{
        {10, 20, 30, 77}, {0, 0, 0, 77}, {30, 60, 90, 77}, {10, 20, 30, 200}, {1, 1, 0, 9}};
    struct Case {
        TGxTextureImageAlpha mode;
        std::vector<int> alpha;
    };
    const Case cases[] = {
        {tiaDefault, {77, 77, 77, 200, 9}},
        {tiaAlphaFromIntensity, {20, 0, 60, 20, 0}},
        {tiaLuminance, {20, 0, 60, 20, 0}},
        {tiaSuperBlackTransparent, {255, 0, 255, 255, 255}},
        {tiaLuminanceSqrt, {71, 0, 123, 71, 0}},
        {tiaOpaque, {255, 255, 255, 255, 255}},
        {tiaTopLeftPointColorTransparent, {0, 255, 255, 0, 255}},
        {tiaInverseLuminance, {235, 255, 195, 235, 255}},
        {tiaInverseLuminanceSqrt, {184, 255, 132, 184, 255}},
    };
    for (const Case& c : cases) {
        TGxBitmap32 b = bitmapOf(pixels);
        b.ApplyImageAlpha(c.mode);
        EXPECT_EQ(channel(b, 3), c.alpha) << "mode " << c.mode;
        EXPECT_EQ(channel(b, 0), (std::vector<int>{10, 0, 30, 10, 1})) << "colour must stay";
    }
}

TEST(GxBitmap32, BrightnessAndGammaRoundHalvesToEvenAndLeaveAlpha)
{
    TGxBitmap32 b = bitmapOf({{1, 3, 5, 7}, {7, 255, 200, 1}});
    b.SetBrightness(0.5f);
    EXPECT_EQ(channel(b, 0), (std::vector<int>{0, 4}));   // 0.5 -> 0, 3.5 -> 4
    EXPECT_EQ(channel(b, 1), (std::vector<int>{2, 128})); // 1.5 -> 2, 127.5 -> 128
    EXPECT_EQ(channel(b, 2), (std::vector<int>{2, 100})); // 2.5 -> 2
    EXPECT_EQ(channel(b, 3), (std::vector<int>{7, 1}));

    TGxBitmap32 bright = bitmapOf({{200, 100, 0, 5}});
    bright.SetBrightness(2.0f);
    EXPECT_EQ(channel(bright, 0), std::vector<int>{255});
    EXPECT_EQ(channel(bright, 1), std::vector<int>{200});

    TGxBitmap32 g = bitmapOf({{64, 0, 255, 3}, {128, 200, 1, 4}});
    g.SetGamma(2.0f); // 255 * sqrt(64 / 255) = 127.75
    EXPECT_EQ(channel(g, 0), (std::vector<int>{128, 181}));
    EXPECT_EQ(channel(g, 2), (std::vector<int>{255, 16}));
    EXPECT_EQ(channel(g, 3), (std::vector<int>{3, 4}));
    TGxBitmap32 steep = bitmapOf({{128, 200, 255, 0}});
    steep.SetGamma(0.5f); // 128^2 / 255 = 64.25
    EXPECT_EQ(channel(steep, 0), std::vector<int>{64});
    TGxBitmap32 tiny = bitmapOf({{200, 255, 0, 0}});
    tiny.SetGamma(0.05f); // below 0.1 the exponent is 10: 255 * (200/255)^10 = 22.46
    EXPECT_EQ(channel(tiny, 0), std::vector<int>{22});
    EXPECT_EQ(channel(tiny, 1), std::vector<int>{255});

    EXPECT_THROW(b.SetBrightness(-0.1f), EGxAssertion);
    EXPECT_THROW(b.SetGamma(0.0f), EGxAssertion);
}

TEST(GxBitmap32, PicturesBecomeBottomUpRgba)
{
    // 24-bit bitmap, width 4: taken directly; the top row of the picture is stored last.
    std::vector<std::uint8_t> rgb;
    for (int i = 0; i < 4; ++i)
        rgb.insert(rgb.end(), {255, 0, 0});
    for (int i = 0; i < 4; ++i)
        rgb.insert(rgb.end(), {0, 0, 255});
    TGxBitmap32 b;
    b.Assign(decodeBmpPicture(encodeBmp24(4, 2, rgb)));
    ASSERT_EQ(b.Width(), 4);
    ASSERT_EQ(b.Height(), 2);
    EXPECT_EQ(b.DataSize(), 4u * 2 * 4);
    EXPECT_EQ(std::vector<int>(b.Pixel(0, 0), b.Pixel(0, 0) + 4), (std::vector<int>{0, 0, 255, 255}));
    EXPECT_EQ(std::vector<int>(b.Pixel(3, 1), b.Pixel(3, 1) + 4), (std::vector<int>{255, 0, 0, 255}));

    // 32-bit with alpha and width 4 keeps alpha; width 6 is drawn opaque at width 8.
    QImage withAlpha(4, 1, QImage::Format_ARGB32);
    withAlpha.fill(QColor(10, 20, 30, 40));
    b.Assign(Picture::fromImage(withAlpha));
    EXPECT_EQ(std::vector<int>(b.Pixel(2, 0), b.Pixel(2, 0) + 4), (std::vector<int>{10, 20, 30, 40}));
    QImage odd(6, 3, QImage::Format_ARGB32);
    odd.fill(QColor(10, 20, 30, 0));
    b.Assign(Picture::fromImage(odd));
    EXPECT_EQ(b.Width(), 8);
    EXPECT_EQ(b.Height(), 3);
    EXPECT_EQ(b.Pixel(7, 2)[3], 255);

    // Other graphics (a JPEG picture) are drawn at the next multiple of 4.
    for (auto [width, expected] : {std::pair{102, 104}, std::pair{100, 100}}) {
        Picture jpeg;
        jpeg.kind = Picture::Kind::Jpeg;
        jpeg.bitsPerPixel = 24;
        jpeg.image = QImage(width, 60, QImage::Format_RGB888);
        jpeg.image.fill(Qt::white);
        b.Assign(jpeg);
        EXPECT_EQ(b.Width(), expected);
        EXPECT_EQ(b.Height(), 60);
        EXPECT_EQ(b.Pixel(expected - 1, 59)[0], 255) << "stretched over the full width";
    }

    b.Assign(Picture{});
    EXPECT_EQ(b.DataSize(), 0u);
}

TEST(PictureFiles, DamagedOrMissingPicturesGiveClearErrors)
{
    TempDir dir;
    // A 57-byte BMP whose header claims a width of 3 million pixels.
    ByteWriter lying;
    lying.bytes("BM");
    lying.int32(57);
    lying.int32(0);
    lying.int32(54);
    lying.int32(40);
    lying.int32(3000000);
    lying.int32(1);
    lying.int16(1);
    lying.int16(24);
    lying.zeros(24);
    lying.bytes("abc");
    const std::string lyingBytes(lying.data().begin(), lying.data().end());
    ASSERT_EQ(lyingBytes.size(), 57u);
    EXPECT_EQ(messageOf([&] { decodeBmp(lyingBytes); }), "Bitmap image is not valid");

    const std::string good = encodeBmp24(4, 4, std::vector<std::uint8_t>(48, 7));
    EXPECT_EQ(messageOf([&] { decodeBmp(good.substr(0, good.size() - 5)); }), "Bitmap image is not valid");
    EXPECT_EQ(messageOf([&] { decodeBmp("BM"); }), "Bitmap image is not valid");
    EXPECT_EQ(messageOf([&] { decodeBmp("PNG and more bytes than a header"); }), "Bitmap image is not valid");
    int bpp = 0;
    EXPECT_EQ(decodeBmp(good, &bpp).size(), QSize(4, 4));
    EXPECT_EQ(bpp, 24);

    writeFile(dir.file("lying.bmp"), lyingBytes);
    EXPECT_EQ(messageOf([&] { loadPictureFile(dir.file("lying.bmp")); }),
              "Bitmap image is not valid: " + dir.file("lying.bmp"));
    EXPECT_EQ(messageOf([&] { loadPictureFile(dir.file("absent.jpg")); }),
              "Could not open file: " + dir.file("absent.jpg"));
    writeFile(dir.file("plan.EMF"), "metafile");
    EXPECT_EQ(messageOf([&] { loadPictureFile(dir.file("plan.EMF")); }).rfind("Could not open file: ", 0), 0u);
    writeFile(dir.file("plan.xyz"), "x");
    EXPECT_EQ(messageOf([&] { loadPictureFile(dir.file("plan.xyz")); }), "Unknown picture file extension (.xyz)");
}

TEST(PictureFiles, PixelsNamingColoursPastAShortPaletteAreBlack)
{
    // 8 bits a pixel with a palette of two colours; the pixels use 0, 1 and 200.
    ByteWriter b;
    b.bytes("BM");
    b.int32(14 + 40 + 8 + 4);
    b.int32(0);
    b.int32(14 + 40 + 8);
    b.int32(40);
    b.int32(3); // width
    b.int32(1); // height
    b.int16(1);
    b.int16(8);
    b.int32(0);
    b.int32(4);
    b.zeros(8);
    b.int32(2); // colours used
    b.int32(0);
    b.int32(0x000000FF); // blue
    b.int32(0x00FF0000); // red
    b.bytes(std::string("\0\1\xC8\0", 4));
    const std::string bmp(b.data().begin(), b.data().end());
    const QImage image = decodeBmp(bmp);
    ASSERT_EQ(image.format(), QImage::Format_Indexed8);
    EXPECT_EQ(image.colorCount(), 256);
    Picture picture;
    picture.kind = Picture::Kind::Bitmap;
    picture.bitsPerPixel = 8;
    picture.image = image;
    TGxBitmap32 pixels;
    pixels.Assign(picture);
    ASSERT_EQ(pixels.Width(), 4); // widened to a multiple of 4
    EXPECT_EQ(std::vector<int>(pixels.Pixel(0, 0), pixels.Pixel(0, 0) + 3), (std::vector<int>{0, 0, 255}));
    EXPECT_EQ(std::vector<int>(pixels.Pixel(1, 0), pixels.Pixel(1, 0) + 3), (std::vector<int>{255, 0, 0}));
}

TEST(PictureFiles, SoundPicturesBeyondTheBoundsAreRefusedBeforeDecoding)
{
    // A run-length coded bitmap of any size is a few bytes: the bounds alone stop it.
    const auto rle8 = [](int width, int height) { return encodeBmpRle8(width, height, 10, 20, 30); };
    const auto tooLarge = [](std::int64_t w, std::int64_t h) {
        return "Изображение слишком велико: " + std::to_string(w) + " × " + std::to_string(h)
               + " точек (допускается не больше 8192 точек по стороне и 16777216 точек всего)";
    };
    struct Case {
        std::int32_t width, height;
        bool refused;
    };
    for (const Case& c : {Case{kMaxPictureSide, 1, false}, Case{kMaxPictureSide + 1, 1, true},
                          Case{1, kMaxPictureSide + 1, true}, Case{4096, 4096, false}, Case{4096, 4097, true},
                          Case{1000000, 2, true}}) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        const std::string bmp = rle8(c.width, c.height);
        EXPECT_EQ(messageOf([&] { decodeBmp(bmp); }), c.refused ? tooLarge(c.width, c.height) : "(no error)");
    }
    // A plain bitmap whose pixels are all there but too many.
    const std::string wide = encodeBmp24(kMaxPictureSide + 1, 1, std::vector<std::uint8_t>(3 * (kMaxPictureSide + 1)));
    EXPECT_EQ(messageOf([&] { decodeBmp(wide); }), tooLarge(kMaxPictureSide + 1, 1));
}

TEST(PictureFiles, JpegDecodesAndRejectsTruncatedOrHugeFiles)
{
    QImage source(20, 10, QImage::Format_RGB888);
    source.fill(QColor(200, 40, 40));
    const std::string jpeg = encodeJpeg(source);
    const QImage decoded = decodeJpeg(jpeg);
    ASSERT_EQ(decoded.size(), QSize(20, 10));
    EXPECT_NEAR(qRed(decoded.pixel(5, 5)), 200, 6);

    EXPECT_EQ(messageOf([&] { decodeJpeg(jpeg.substr(0, jpeg.size() / 2)); }).rfind("JPEG image is not valid", 0), 0u);
    EXPECT_EQ(messageOf([&] { decodeJpeg("not a jpeg at all"); }).rfind("JPEG image is not valid", 0), 0u);

    // Patch the frame header to claim 60000 x 60000 pixels.
    std::string huge = jpeg;
    const std::size_t sof = huge.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    huge[sof + 5] = huge[sof + 7] = static_cast<char>(0xEA);
    huge[sof + 6] = huge[sof + 8] = static_cast<char>(0x60);
    EXPECT_EQ(messageOf([&] { decodeJpeg(huge); }),
              "Изображение слишком велико: 60000 × 60000 точек (допускается не больше 8192 точек по стороне и "
              "16777216 точек всего)");

    TempDir dir;
    writeFile(dir.file("photo.JPeG"), jpeg);
    const Picture p = loadPictureFile(dir.file("photo.JPeG"));
    EXPECT_EQ(p.kind, Picture::Kind::Jpeg);
    EXPECT_EQ(p.image.size(), QSize(20, 10));
}

TEST(TextureImages, MissingFilesFailAsDescribed)
{
    TGxTexture texture(nullptr);
    EXPECT_EQ(texture.ImageClassName(), "TGxPersistentImage");
    auto& persistent = dynamic_cast<TGxPersistentImage&>(texture.Image());
    EXPECT_EQ(messageOf([&] { persistent.LoadPictureFile("/nowhere/grass.bmp"); }),
              "Could not open file: /nowhere/grass.bmp");

    texture.SetImageClassName("TGxPicFileImage");
    ASSERT_EQ(texture.ImageClassName(), "TGxPicFileImage");
    auto& file = dynamic_cast<TGxPicFileImage&>(texture.Image());
    file.SetPictureFileName("/nowhere/wood.jpg");
    try {
        file.AcquirePixels(GL_TEXTURE_2D);
        ADD_FAILURE() << "no assertion";
    } catch (const EGxAssertion& e) {
        EXPECT_EQ(e.bareMessage(), "Could not open file: /nowhere/wood.jpg");
    }
    TGxBitmap32* pixels = file.AcquirePixels(GL_TEXTURE_2D); // only the first time fails
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(pixels->DataSize(), 0u);

    for (const std::string& name : TGxTextureImage::RegisteredClassNames()) {
        texture.SetImageClassName(name);
        EXPECT_EQ(texture.ImageClassName(), name);
    }
    texture.SetImageClassName("TNoSuchImage");
    EXPECT_EQ(texture.ImageClassName(), "TGxFloatDataImage");
}
