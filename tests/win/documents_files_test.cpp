// Open and save through the real commands, with scripted file dialogs.
#include <cstdlib>
#include <cstring>

#include <wincodec.h>

#include "commands/picture_io.h"
#include "commands/title_text.h"
#include "documents_support.h"
#include "platform/program_path.h"
#include "resources/resource.h"

namespace vx::test {
namespace {

using DocumentFiles = MainWindowTest;

std::uint32_t Le32At(const std::string& b, size_t at) {
    return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8 |
           static_cast<unsigned char>(b[at + 2]) << 16 | static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

ComPtr<IPicture> Decode(const std::wstring& path) {
    Outcome outcome;
    return LoadPictureFile(path, outcome);
}

TEST_F(DocumentFiles, SaveWritesBmpJpegAndPngThatDecodeBack) {
    TempDir dir;
    ScriptedDialogs dialogs;
    form->PlacePicture(PatternPicture(301, 203, 1));
    const auto original = PixelsOf(form->Doc().PicBmp.Bitmap());
    for (const wchar_t* name : {L"shot.bmp", L"shot.jpg", L"shot.png"}) {
        form->Doc().ImageUnsaved = true;
        dialogs.fileAnswers.push_back(dir.File(name));
        mnusave_Click(*form);
        EXPECT_FALSE(form->Doc().ImageUnsaved) << Narrow(name);
    }
    EXPECT_TRUE(dialogs.boxes.empty());

    // The dialog got the accumulated settings; each next dialog starts at the last path.
    ASSERT_EQ(dialogs.fileRequests.size(), 3u);
    EXPECT_EQ(dialogs.fileRequests[0].Flags, static_cast<DWORD>(OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY));
    EXPECT_EQ(std::wstring(dialogs.fileRequests[0].lpstrTitle), L"保存");
    EXPECT_EQ(std::wstring(dialogs.fileRequests[0].lpstrDefExt), L"BMP");
    EXPECT_EQ(dialogs.fileRequestNames[0], L"");
    EXPECT_EQ(dialogs.fileRequestNames[1], dir.File(L"shot.bmp"));
    EXPECT_EQ(dialogs.fileRequestNames[2], dir.File(L"shot.jpg"));
    EXPECT_EQ(form->Doc().CDopen.DefaultExt, L".BMP");
    EXPECT_EQ(form->Doc().CDopen.FileName, dir.File(L"shot.png"));

    // BMP: "BM", 24 bits, exact size, pixel-exact.
    const std::string bmp = ReadFileBytes(dir.File(L"shot.bmp"));
    ASSERT_GE(bmp.size(), 54u);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(static_cast<unsigned char>(bmp[28]), 24);
    EXPECT_EQ(Le32At(bmp, 2), bmp.size());
    EXPECT_EQ(bmp.size(), 54u + ((301u * 3 + 3) / 4 * 4) * 203u);
    int w = 0, h = 0;
    EXPECT_EQ(PixelsOf(BitmapOf(Decode(dir.File(L"shot.bmp"))), &w, &h), original);
    EXPECT_EQ(PixelsOf(BitmapOf(Decode(dir.File(L"shot.png"))), &w, &h), original);
    EXPECT_EQ(ReadFileBytes(dir.File(L"shot.png")).substr(1, 3), "PNG");

    // JPEG: JPEG bytes, same size, close colours.
    EXPECT_EQ(ReadFileBytes(dir.File(L"shot.jpg")).substr(0, 2), "\xFF\xD8");
    const auto jpeg = PixelsOf(BitmapOf(Decode(dir.File(L"shot.jpg"))), &w, &h);
    EXPECT_EQ(w, 301);
    EXPECT_EQ(h, 203);
    ASSERT_EQ(jpeg.size(), original.size());
    double error = 0;
    for (size_t i = 0; i < jpeg.size(); ++i)
        for (int shift : {0, 8, 16}) error += std::abs(int((jpeg[i] >> shift) & 0xFF) - int((original[i] >> shift) & 0xFF));
    EXPECT_LT(error / (jpeg.size() * 3.0), 12.0);

    // No temporary file is left beside the saved ones.
    int files = 0;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(dir.File(L"*").c_str(), &found);
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    EXPECT_EQ(files, 3);
}

TEST_F(DocumentFiles, APictureWithAPaletteIsWrittenAtEightBitsWithItsColours) {
    // 16 colours in a palette, an 8-bit bitmap using them.
    std::vector<unsigned char> storage(sizeof(LOGPALETTE) + 15 * sizeof(PALETTEENTRY));
    auto* logical = reinterpret_cast<LOGPALETTE*>(storage.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = 16;
    for (int i = 0; i < 16; ++i)
        logical->palPalEntry[i] = {static_cast<BYTE>(i * 16), static_cast<BYTE>(255 - i * 16), static_cast<BYTE>(i * 5), 0};
    UniquePalette palette(::CreatePalette(logical));
    std::vector<unsigned char> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto* bmi = reinterpret_cast<BITMAPINFO*>(info.data());
    bmi->bmiHeader = {sizeof(BITMAPINFOHEADER), 40, -30, 1, 8, BI_RGB};
    for (int i = 0; i < 16; ++i) {
        const PALETTEENTRY& e = logical->palPalEntry[i];
        bmi->bmiColors[i] = {e.peBlue, e.peGreen, e.peRed, 0};
    }
    void* bits = nullptr;
    UniqueBitmap bitmap(::CreateDIBSection(nullptr, bmi, DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_TRUE(bits);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) static_cast<unsigned char*>(bits)[y * 40 + x] = static_cast<unsigned char>((x / 3 + y) % 16);
    form->PlacePicture(CreatePictureFromBitmap(std::move(bitmap), std::move(palette)));
    const auto original = PixelsOf(form->Doc().PicBmp.Bitmap());

    TempDir dir;
    ScriptedDialogs dialogs;
    dialogs.fileAnswers.push_back(dir.File(L"palette.bmp"));
    mnusave_Click(*form);
    const std::string file = ReadFileBytes(dir.File(L"palette.bmp"));
    ASSERT_GE(file.size(), 54u + 1024u);
    EXPECT_EQ(static_cast<unsigned char>(file[28]), 8);
    EXPECT_EQ(Le32At(file, 10), 54u + 1024u);
    EXPECT_EQ(file.size(), 54u + 1024u + 40u * 30u);
    // The colour table carries the palette's colours (blue, green, red, 0).
    for (int i = 0; i < 16; ++i) {
        const PALETTEENTRY& e = logical->palPalEntry[i];
        EXPECT_EQ(static_cast<unsigned char>(file[54 + i * 4 + 2]), e.peRed) << i;
        EXPECT_EQ(static_cast<unsigned char>(file[54 + i * 4 + 1]), e.peGreen) << i;
    }
    EXPECT_EQ(PixelsOf(BitmapOf(Decode(dir.File(L"palette.bmp")))), original);
}

TEST_F(DocumentFiles, CancelAndNoImageWriteNothing) {
    TempDir dir;
    ScriptedDialogs dialogs;
    // No image: told so, no dialog, nothing written.
    mnusave_Click(*form);
    EXPECT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_TRUE(dialogs.fileRequests.empty());
    // Cancel after a capture: nothing written, still unsaved.
    form->PlacePicture(PatternPicture(20, 20));
    form->Doc().ImageUnsaved = true;
    dialogs.fileAnswers.push_back(L"");
    mnusave_Click(*form);
    EXPECT_TRUE(form->Doc().ImageUnsaved);
    EXPECT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.fileRequests.size(), 1u);
}

// A save that cannot be completed leaves the old file byte for byte, the flag as it
// was, and says why once.
TEST_F(DocumentFiles, AFailedSaveKeepsTheOldFile) {
    TempDir dir;
    ScriptedDialogs dialogs;
    form->PlacePicture(PatternPicture(64, 48, 3));
    const std::wstring target = dir.File(L"old.bmp");
    const std::string old = "old contents that must survive";

    // 1. The target is read-only.
    ASSERT_TRUE(WriteFileBytes(target, old));
    ASSERT_TRUE(::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY));
    form->Doc().ImageUnsaved = true;
    dialogs.fileAnswers.push_back(target);
    mnusave_Click(*form);
    EXPECT_TRUE(ReadFileBytes(target) == old);
    EXPECT_TRUE(form->Doc().ImageUnsaved);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_NE(dialogs.boxes[0].text.find(target), std::wstring::npos);
    EXPECT_NE(dialogs.boxes[0].text.find(LoadText(IDS_DOC_REASON_ACCESS_DENIED)), std::wstring::npos);
    ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);

    // 2. Another program holds the target open without sharing.
    HANDLE held = ::CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    dialogs.fileAnswers.push_back(target);
    mnusave_Click(*form);
    ::CloseHandle(held);
    EXPECT_TRUE(ReadFileBytes(target) == old);
    EXPECT_TRUE(form->Doc().ImageUnsaved);
    EXPECT_EQ(dialogs.boxes.size(), 2u);

    // 3. The folder is gone.
    dialogs.fileAnswers.push_back(dir.File(L"missing\\new.bmp"));
    mnusave_Click(*form);
    EXPECT_FALSE(FileExists(dir.File(L"missing\\new.bmp")));
    EXPECT_TRUE(form->Doc().ImageUnsaved);
    EXPECT_EQ(dialogs.boxes.size(), 3u);

    // From the toolbar the same failure is silent.
    ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
    dialogs.fileAnswers.push_back(target);
    form->Toolbar1_ButtonClick(3);
    ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(dialogs.boxes.size(), 3u);
    EXPECT_TRUE(ReadFileBytes(target) == old);

    // The temporary files of the failed attempts are gone.
    EXPECT_FALSE(FileExists(dir.File(L"vx*.tmp")));
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(dir.File(L"*.tmp").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE);
    if (search != INVALID_HANDLE_VALUE) ::FindClose(search);
}

TEST_F(DocumentFiles, OpenShowsThePictureWithItsPixelSizeInTheTitle) {
    TempDir dir;
    ScriptedDialogs dialogs;
    // A picture larger than the view, saved as PNG, then opened.
    ASSERT_TRUE(SavePictureFile(BitmapOf(PatternPicture(1500, 1100, 4)), nullptr, dir.File(L"big.png"),
                                PictureFileFormat::Png).ok());
    form->Doc().ImageUnsaved = true;
    dialogs.fileAnswers.push_back(dir.File(L"big.png"));
    mnuOpen_Click(*form);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(form->Doc().PicBmp.PixelWidth(), 1500);
    EXPECT_EQ(form->Doc().PicBmp.PixelHeight(), 1100);
    EXPECT_EQ(WindowTitle(form->hwnd()), OpenedTitle(ProgramName(), L"big.png", 1500, 1100));
    EXPECT_EQ(PixelsOf(form->Doc().PicBmp.Bitmap()), PixelsOf(BitmapOf(PatternPicture(1500, 1100, 4))));
    EXPECT_FALSE(form->Doc().ImageUnsaved);  // what was read from a file is saved
    // The layout pass ran: the scroll bars are there for a picture larger than the view.
    EXPECT_TRUE(::IsWindowVisible(form->HScroll1().hwnd));
    EXPECT_TRUE(::IsWindowVisible(form->VScroll1().hwnd));
    // The open dialog offered the filter and starts at no name; a save after it starts
    // with the opened file.
    dialogs.fileAnswers.push_back(L"");
    mnusave_Click(*form);
    EXPECT_EQ(dialogs.fileRequestNames.back(), dir.File(L"big.png"));
    // Opening again replaces the picture and frees the old bitmap.
    const int bitmaps = CountGdiObjects(OBJ_BITMAP);
    dialogs.fileAnswers.push_back(dir.File(L"big.png"));
    mnuOpen_Click(*form);
    EXPECT_EQ(CountGdiObjects(OBJ_BITMAP), bitmaps);
}

TEST_F(DocumentFiles, OpenReadsGifAndTiffChosenByName) {
    TempDir dir;
    ScriptedDialogs dialogs;
    // GIF and TIFF written by the imaging component itself.
    for (const auto& [name, container] : {std::pair{L"a.gif", GUID_ContainerFormatGif}, std::pair{L"a.tif", GUID_ContainerFormatTiff}}) {
        ComPtr<IWICImagingFactory> factory;
        ASSERT_HRESULT_SUCCEEDED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                                    IID_IWICImagingFactory, reinterpret_cast<void**>(factory.put())));
        ComPtr<IWICBitmap> source;
        ASSERT_HRESULT_SUCCEEDED(factory->CreateBitmapFromHBITMAP(BitmapOf(PatternPicture(33, 17)), nullptr,
                                                                  WICBitmapIgnoreAlpha, source.put()));
        ComPtr<IWICStream> stream;
        factory->CreateStream(stream.put());
        ASSERT_HRESULT_SUCCEEDED(stream->InitializeFromFilename(dir.File(name).c_str(), GENERIC_WRITE));
        ComPtr<IWICBitmapEncoder> encoder;
        ASSERT_HRESULT_SUCCEEDED(factory->CreateEncoder(container, nullptr, encoder.put()));
        encoder->Initialize(stream.get(), WICBitmapEncoderNoCache);
        ComPtr<IWICBitmapFrameEncode> frame;
        encoder->CreateNewFrame(frame.put(), nullptr);
        frame->Initialize(nullptr);
        frame->WriteSource(source.get(), nullptr);
        frame->Commit();
        ASSERT_HRESULT_SUCCEEDED(encoder->Commit());
    }
    for (const wchar_t* name : {L"a.gif", L"a.tif"}) {
        form->PlacePicture(nullptr);
        dialogs.fileAnswers.push_back(dir.File(name));
        mnuOpen_Click(*form);
        EXPECT_EQ(form->Doc().PicBmp.PixelWidth(), 33) << Narrow(name);
        EXPECT_EQ(form->Doc().PicBmp.PixelHeight(), 17) << Narrow(name);
    }
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(DocumentFiles, CancelOrABadFileChangesNothing) {
    TempDir dir;
    ScriptedDialogs dialogs;
    ASSERT_TRUE(SavePictureFile(BitmapOf(PatternPicture(40, 30)), nullptr, dir.File(L"good.bmp"), PictureFileFormat::Bmp).ok());
    dialogs.fileAnswers.push_back(dir.File(L"good.bmp"));
    mnuOpen_Click(*form);
    const std::wstring title = WindowTitle(form->hwnd());
    IPicture* picture = form->Doc().PicBmp.Picture.get();

    // A PNG header that claims 100000 x 100000 pixels, a text file, a truncated BMP,
    // a missing file.
    std::string png("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\x01\x86\xa0\0\x01\x86\xa0\x08\x02\0\0\0", 33);
    WriteFileBytes(dir.File(L"huge.png"), png + std::string(64, '\0'));
    WriteFileBytes(dir.File(L"text.bmp"), "just some text, not a picture");
    WriteFileBytes(dir.File(L"short.bmp"), ReadFileBytes(dir.File(L"good.bmp")).substr(0, 70));
    const struct { const wchar_t* name; unsigned id; } cases[] = {
        {L"huge.png", IDS_DOC_TOO_LARGE},
        {L"text.bmp", IDS_DOC_CANNOT_DECODE},
        {L"short.bmp", IDS_DOC_CANNOT_DECODE},
        {L"absent.bmp", IDS_DOC_CANNOT_READ},
    };
    for (const auto& c : cases) {
        const size_t boxes = dialogs.boxes.size();
        dialogs.fileAnswers.push_back(dir.File(c.name));
        mnuOpen_Click(*form);
        ASSERT_EQ(dialogs.boxes.size(), boxes + 1) << Narrow(c.name);
        const std::wstring first = LoadText(c.id).substr(0, 6);
        EXPECT_EQ(dialogs.boxes.back().text.substr(0, 6), first) << Narrow(c.name);
        EXPECT_EQ(form->Doc().PicBmp.Picture.get(), picture) << Narrow(c.name);
        EXPECT_EQ(WindowTitle(form->hwnd()), title) << Narrow(c.name);
        // The same from the toolbar: nothing shown, nothing changed.
        dialogs.fileAnswers.push_back(dir.File(c.name));
        form->Toolbar1_ButtonClick(2);
        EXPECT_EQ(dialogs.boxes.size(), boxes + 1) << Narrow(c.name);
        EXPECT_EQ(form->Doc().PicBmp.Picture.get(), picture) << Narrow(c.name);
    }
    // Cancel.
    dialogs.fileAnswers.push_back(L"");
    mnuOpen_Click(*form);
    EXPECT_EQ(form->Doc().PicBmp.Picture.get(), picture);
    EXPECT_EQ(WindowTitle(form->hwnd()), title);
}

}  // namespace
}  // namespace vx::test
