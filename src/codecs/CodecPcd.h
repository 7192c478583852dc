#pragma once
// Kodak Photo-CD image pacs (.pcd): the base image (768 x 512) or, in a
// file cut short of it, the largest smaller one it holds whole (384 x 256,
// then 192 x 128). The larger resolutions, stored with Huffman-coded
// residuals, are not read.
//
// Each image stores, for every pair of rows, two rows of luma and one row
// each of the two chroma values at half width; chroma is repeated over its
// 2 x 2 pixels. Photo YCC becomes RGB by the published formulas:
//   L = 1.3584 Y, C1' = 2.2179 (C1 - 156), C2' = 1.8215 (C2 - 137),
//   R = L + C2', G = L - 0.194 C1' - 0.509 C2', B = L + C1', clamped.
// The image pac's orientation (a quarter turn either way, or a half turn)
// is undone so that a portrait picture stands upright. The result is a
// 24-bit image. A file without the pac signature or too short for even the
// smallest image raises InvalidImageError.
#include "graphics/Bitmap.h"

#include <cstdint>
#include <span>

namespace px {

Bitmap decodePcd(std::span<const std::uint8_t> data);
// The same, reusing `bmp`'s memory; after a failure `bmp` is unspecified.
void decodePcdInto(std::span<const std::uint8_t> data, Bitmap& bmp);

} // namespace px
