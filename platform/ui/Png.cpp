#include "platform/ui/Png.h"

#include <png.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/fw/CString.h"

namespace {
constexpr int kRgbBytes = 3;
constexpr int kMaxPngSide = 1 << 16;  // beyond this the sizes are a mistake
}  // namespace

std::vector<BYTE> KivEncodePng(int width, int height, const std::uint32_t* pixels) {
    if (!pixels || width <= 0 || height <= 0 || width > kMaxPngSide || height > kMaxPngSide) return {};
    std::vector<png_byte> rgb(static_cast<size_t>(width) * static_cast<size_t>(height) * kRgbBytes);
    for (size_t i = 0; i < static_cast<size_t>(width) * static_cast<size_t>(height); ++i) {
        rgb[i * kRgbBytes + 0] = static_cast<png_byte>(pixels[i] >> 16);
        rgb[i * kRgbBytes + 1] = static_cast<png_byte>(pixels[i] >> 8);
        rgb[i * kRgbBytes + 2] = static_cast<png_byte>(pixels[i]);
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr)) return {};
    std::vector<BYTE> encoded(size);
    if (!png_image_write_to_memory(&image, encoded.data(), &size, 0, rgb.data(), 0, nullptr)) return {};
    encoded.resize(size);
    return encoded;
}

BOOL KivSavePng(LPCWSTR path, int width, int height, const std::uint32_t* pixels) {
    if (!path || !*path) return FALSE;
    // Encoded in memory first so that a failure leaves no partial file behind.
    const std::vector<BYTE> encoded = KivEncodePng(width, height, pixels);
    if (encoded.empty()) return FALSE;
    const size_t size = encoded.size();
    const std::filesystem::path file(CString(path).ToUtf8());
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        if (out && out.write(reinterpret_cast<const char*>(encoded.data()), static_cast<std::streamsize>(size)) && out.flush())
            return TRUE;
    }
    std::error_code ec;
    std::filesystem::remove(file, ec);
    return FALSE;
}

BOOL KivLoadPng(LPCWSTR path, int& width, int& height, std::vector<std::uint32_t>& pixels) {
    if (!path) return FALSE;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, CString(path).ToUtf8().c_str())) return FALSE;
    if (image.width == 0 || image.height == 0 || image.width > kMaxPngSide || image.height > kMaxPngSide) {
        png_image_free(&image);
        return FALSE;
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
        png_image_free(&image);
        return FALSE;
    }
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = (std::uint32_t{rgb[i * kRgbBytes]} << 16) | (std::uint32_t{rgb[i * kRgbBytes + 1]} << 8) | rgb[i * kRgbBytes + 2];
    return TRUE;
}
