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
    std::vector<std::uint32_t> pixels(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = argb(static_cast<int>(i) % width, static_cast<int>(i) / width);
    ComPtr<IWICImagingFactory> factory = ImagingFactory();
    ComPtr<IWICBitmap> bitmap;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    const bool written =
        factory && SUCCEEDED(factory->CreateBitmapFromMemory(width, height, format, width * 4, width * height * 4,
                                                             reinterpret_cast<BYTE*>(pixels.data()), bitmap.put())) &&
        SUCCEEDED(factory->CreateStream(stream.put())) && SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
        SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put())) &&
        SUCCEEDED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) &&
        SUCCEEDED(encoder->CreateNewFrame(frame.put(), nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
        SUCCEEDED(frame->SetSize(width, height)) && SUCCEEDED(frame->SetPixelFormat(&format)) &&
        SUCCEEDED(frame->WriteSource(bitmap.get(), nullptr)) && SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
    ASSERT_TRUE(written);
}

Pixels Opened(const std::wstring& path) {
    Outcome outcome;
    ComPtr<IPicture> picture = LoadPictureFile(path, outcome);  // none: the callers' size checks fail
    return picture ? ReadPixels(BitmapOf(picture)) : Pixels{};
}

TEST(PictureFormats, TransparencyIsFlattenedOntoWhite) {
    TempDir dir;
    // Left half: invisible vivid magenta. Right half: blue fading in from left to right.
    const int w = 256, h = 4;
    WritePng(dir.File(L"alpha.png"), w, h, [](int x, int) {
        return x < 128 ? 0x00FF00FFu : std::uint32_t((x - 128) * 2) << 24 | 0x0000FFu;
    });
    const Pixels p = Opened(dir.File(L"alpha.png"));
    ASSERT_EQ(p.width, w);
    for (int x = 0; x < w; ++x) {
        const int white = x < 128 ? 255 : 255 - (x - 128) * 2;  // what shows of the white beneath
        const std::uint32_t c = p.At(x, 1);
        EXPECT_EQ(std::tuple(std::abs(int(c >> 16) - white) <= 1, std::abs(int(c >> 8 & 255) - white) <= 1, (c & 255) >= 254),
                  std::tuple(true, true, true)) << x << ": red, green, blue of " << std::hex << c;
    }
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
        {L"a.gif", "GIF8"}, {L"a.tif", "II*"}, {L"a.TIFF", "II*"}};
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
