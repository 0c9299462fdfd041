// PNG files of 32-bit pixels through libpng.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/fw/KivTypes.h"

/// Writes width x height pixels (0x00RRGGBB, rows top-down) as an 8-bit RGB PNG; FALSE for
/// bad arguments or when the file cannot be written (no partial file is left).
BOOL KivSavePng(LPCWSTR path, int width, int height, const std::uint32_t* pixels);
/// The bytes of the PNG KivSavePng writes, for callers that write files their own way;
/// empty for bad arguments or when encoding fails.
std::vector<BYTE> KivEncodePng(int width, int height, const std::uint32_t* pixels);
/// Reads any PNG as 0x00RRGGBB pixels (alpha dropped); FALSE when the file is missing or
/// not a PNG.
BOOL KivLoadPng(LPCWSTR path, int& width, int& height, std::vector<std::uint32_t>& pixels);
