// Pictures from and for other programs: transparency comes in flattened onto white,
// and GIF and TIFF names get GIF and TIFF files.
#include <wincodec.h>

#include "commands/picture_codec.h"
#include "commands/picture_io.h"
#include "win_test_support.h"

namespace vx::test {
namespace {

// A PNG with straight (not premultiplied) alpha, written by the imaging component.
void WritePng(const std::wstring& path, int width, int height, const std::function<std::uint32_t(int, int)>& argb) {
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels.push_back(argb(x, y));
    ComPtr<IWICImagingFactory> factory = ImagingFactory();
    ComPtr<IWICBitmap> bitmap;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    ASSERT_TRUE(factory);
    ASSERT_HRESULT_SUCCEEDED(factory->CreateBitmapFromMemory(width, height, GUID_WICPixelFormat32bppBGRA, width * 4,
                                                             width * height * 4,
                                                             reinterpret_cast<BYTE*>(pixels.data()), bitmap.put()));
    ASSERT_HRESULT_SUCCEEDED(factory->CreateStream(stream.put()));
    ASSERT_HRESULT_SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE));
    ASSERT_HRESULT_SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put()));
    ASSERT_HRESULT_SUCCEEDED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache));
    ASSERT_HRESULT_SUCCEEDED(encoder->CreateNewFrame(frame.put(), nullptr));
    ASSERT_HRESULT_SUCCEEDED(frame->Initialize(nullptr));
    ASSERT_HRESULT_SUCCEEDED(frame->SetSize(width, height));
    ASSERT_HRESULT_SUCCEEDED(frame->SetPixelFormat(&format));
    ASSERT_HRESULT_SUCCEEDED(frame->WriteSource(bitmap.get(), nullptr));
    ASSERT_HRESULT_SUCCEEDED(frame->Commit());
    ASSERT_HRESULT_SUCCEEDED(encoder->Commit());
}

Pixels Opened(const std::wstring& path) {
    Outcome outcome;
    ComPtr<IPicture> picture = LoadPictureFile(path, outcome);
    EXPECT_TRUE(picture) << Narrow(path);
    return picture ? ReadPixels(BitmapOf(picture)) : Pixels{};
}

TEST(PictureFormats, TransparencyIsFlattenedOntoWhiteAndOpaquePicturesStayExact) {
    TempDir dir;
    // Left half: invisible vivid magenta. Right half: blue fading in from left to right.
    const int w = 256, h = 4;
    WritePng(dir.File(L"alpha.png"), w, h, [](int x, int) {
        return x < 128 ? 0x00FF00FFu : std::uint32_t((x - 128) * 2) << 24 | 0x0000FFu;
    });
    const Pixels p = Opened(dir.File(L"alpha.png"));
    ASSERT_EQ(p.width, w);
    for (int x = 0; x < w; ++x) {
        const int a = x < 128 ? 0 : (x - 128) * 2;
        const int white = 255 - a;  // what shows of the white beneath
        const std::uint32_t c = p.At(x, 1);
        EXPECT_NEAR(int(c >> 16 & 255), white, 1) << x;
        EXPECT_NEAR(int(c >> 8 & 255), white, 1) << x;
        EXPECT_NEAR(int(c & 255), 255, 1) << x;
    }
    // Fully opaque: every pixel exactly as written.
    WritePng(dir.File(L"opaque.png"), 64, 8, [](int x, int y) { return 0xFF000000u | PatternColour(x, y, 3); });
    const Pixels q = Opened(dir.File(L"opaque.png"));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 64; ++x) ASSERT_EQ(q.At(x, y), PatternColour(x, y, 3)) << x << "," << y;
}

TEST(PictureFormats, GifAndTiffNamesGetThoseFormatsAndComeBackExact) {
    TempDir dir;
    // Few colours, so a GIF's palette holds them all.
    auto stripes = [](int x, int y) {
        static const std::uint32_t colours[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00};
        return colours[(x / 3 + y) % 4];
    };
    ComPtr<IPicture> picture = PictureOf(50, 30, stripes);
    const struct { const wchar_t* name; std::string signature; } files[] = {
        {L"a.gif", "GIF8"}, {L"a.tif", "II*"}, {L"a.TIFF", "II*"}, {L"a.bmp", "BM"}};
    for (const auto& f : files) {
        const std::wstring path = dir.File(f.name);
        ASSERT_TRUE(SavePictureFile(BitmapOf(picture), nullptr, path, FormatForPath(path)).ok()) << Narrow(path);
        EXPECT_EQ(ReadFileBytes(path).substr(0, f.signature.size()), f.signature) << Narrow(path);
        const Pixels p = Opened(path);
        ASSERT_EQ(p.width, 50);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 50; ++x) ASSERT_EQ(p.At(x, y), stripes(x, y)) << Narrow(path) << " " << x << "," << y;
    }
}

}  // namespace
}  // namespace vx::test
