#include <png.h>

#include <cstdio>
#include <filesystem>

#include "UiTestSupport.h"

using ScreenPng = UiTest;

TEST_F(ScreenPng, SavedFileReadsBackWithTheSamePixels) {
    RecordingWnd w(RGB(10, 20, 30));
    ASSERT_TRUE(w.CreateTop(CRect(5, 5, 100, 60)));
    KivScreen::Get().PaintAll();
    CDC* dc = w.GetDC();
    dc->SetPixel(3, 4, RGB(250, 1, 128));
    w.ReleaseDC(dc);

    const std::filesystem::path file = std::filesystem::temp_directory_path() / "kivfx_ui_screen_test.png";
    ASSERT_TRUE(KivScreen::Get().SavePng(CString::FromUtf8(file.string())));
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, file.string().c_str()));
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
    std::filesystem::remove(file);
    ASSERT_EQ(static_cast<int>(image.width), KivScreen::Get().GetWidth());
    ASSERT_EQ(static_cast<int>(image.height), KivScreen::Get().GetHeight());
    for (int y = 0; y < KivScreen::Get().GetHeight(); ++y)
        for (int x = 0; x < KivScreen::Get().GetWidth(); ++x) {
            const png_byte* p = &rgb[(static_cast<size_t>(y) * image.width + static_cast<size_t>(x)) * 3];
            ASSERT_EQ(RGB(p[0], p[1], p[2]), KivScreen::Get().GetPixel(x, y)) << x << "," << y;
        }
    EXPECT_EQ(KivScreen::Get().GetPixel(8, 9), RGB(250, 1, 128));
}

TEST_F(ScreenPng, UnwritablePathFailsWithoutAFile) {
    EXPECT_FALSE(KivScreen::Get().SavePng(L"/nonexistent-folder/screen.png"));
    EXPECT_FALSE(KivScreen::Get().SavePng(L""));
    EXPECT_FALSE(std::filesystem::exists("/nonexistent-folder/screen.png"));
}
