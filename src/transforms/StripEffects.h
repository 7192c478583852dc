#pragma once
// Deformations that rearrange whole blocks, columns or rows: the block
// mosaic, columns slid down by a saw-tooth or triangle offset, the image
// repeated as a grid of shrunken copies, pixels lifted by their brightness,
// the row-wise sample-and-hold scramble, and the shapes that squeeze each
// row into a span following a curve down the image. All work in place on
// 24-bit bitmaps.
#include "graphics/Bitmap.h"

namespace px {

// n x n blocks from (0,0), cut short at the right and bottom edges; each
// block takes the colour its top-left pixel had. n <= 1 changes nothing.
void Mosaique(Bitmap& bitmap, int n);

// L := min(H div 2, a). Column x is slid down by k = x mod (L+1) pixels:
// rows k .. H-1-L+k receive rows 0 .. H-1-L; the others keep their values.
void Lamelle(Bitmap& bitmap, int a);

// As Lamelle with the offset running up and down: 0, 1, ..., L, L-1, ...,
// 1, 0, 1, ... (period 2L). L = 0 (an image one pixel high) moves nothing.
void Triangle(Bitmap& bitmap, int a);

// s := min(W div 2, a, H div 2). The whole image shrunk to an s x s tile
// is drawn at every multiple of s, clipped at the edges. s = 0 (an image
// under 2 pixels wide or high) changes nothing.
void Multiplieur(Bitmap& bitmap, int a);

// As Multiplieur with the tiles every round(2s/3) pixels (halves to even),
// each later tile covering the earlier ones. A step of 0 changes nothing.
void MultiplieurChevauche(Bitmap& bitmap, int a);

// Each pixel, in scan-line order, is copied d = round((G + B + R) / 3 / 255
// * a) rows up when that stays inside the image; a pixel that nothing
// overwrites keeps its value.
void Decomposee(Bitmap& bitmap, int a);

// Every row becomes runs of repeated colours whose length follows a
// triangle wave down the image; pixel 0 of every row keeps its value.
void Cryptee(Bitmap& bitmap, int a);

// The "F&ormes" shapes: each row is drawn, stretched, into a span of its
// own row: 8 narrowest at the top, 9 narrowest at the bottom, 10 narrow at
// top and bottom, 12 a centred lens, 13 two lenses stacked; `amount`
// (at most W div 2) is the largest inset. Pixels outside the span keep their
// values. Other shapes, and shapes 10, 12, 13 on an image one pixel high,
// change nothing.
void Formes(Bitmap& bitmap, int shape, int amount);

// "&Rideau" (shape 15): each half of a row squeezed against its edge into
// t = round(|cos(pi y / (H-1))| * amount) pixels (shape 14 takes the sine),
// widest at the top and bottom rows; the middle of the row and the last
// column keep their values. amount 0, other shapes and an image one pixel
// high change nothing.
void Rideau(Bitmap& bitmap, int shape, int amount);

} // namespace px
