#include "transforms/Resizing.h"

#include "effects/Effect.h"
#include "graphics/Canvas.h"

namespace px {

const char* const kImageSizeRefused =
    "La taille de l'image doit être comprise entre 1 et 65535 pixels de côté, 268435456 pixels au plus.";

void checkNewImageSize(std::int64_t width, std::int64_t height)
{
    if (!Bitmap::isAcceptableSize(width, height))
        throw EffectError(kImageSizeRefused);
}

void ResizeImage(const Bitmap& source, Bitmap& target, int width, int height)
{
    checkNewImageSize(width, height);
    target.reallocate(width, height, 24);
    Canvas canvas(target);
    canvas.stretchCopy({0, 0, width, height}, source, {0, 0, source.width(), source.height()});
}

void StretchEdges(Bitmap& bitmap, int width, int height)
{
    checkNewImageSize(width, height);
    bitmap.resize(width, height);
}

} // namespace px
