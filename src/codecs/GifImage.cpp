#include "codecs/GifImage.h"

#include "codecs/ImageFileError.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace px {

namespace {

struct MemoryInput {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t pos;
};

int readInput(GifFileType* gif, GifByteType* out, int length)
{
    auto* in = static_cast<MemoryInput*>(gif->UserData);
    const std::size_t n = std::min(std::size_t(std::max(length, 0)), in->size - in->pos);
    std::memcpy(out, in->data + in->pos, n);
    in->pos += n;
    return int(n);
}

struct GifCloser {
    void operator()(GifFileType* gif) const
    {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

[[noreturn]] void invalid(const char* why)
{
    throw InvalidImageError(why);
}

// The transparent index of a graphic control extension, or -1.
int transparentIndex(const GifByteType* block)
{
    // block[0] is the length (4), then flags, delay (2 bytes), index.
    if (block[0] >= 4 && (block[1] & 1))
        return block[4];
    return -1;
}

} // namespace

Bitmap decodeGif(std::span<const std::uint8_t> data)
{
    MemoryInput input{data.data(), data.size(), 0};
    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&input, readInput, &error));
    if (!gif)
        invalid("en-tête GIF illisible");

    int transparent = -1;
    for (;;) {
        GifRecordType type;
        if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR)
            invalid("bloc GIF illisible");
        if (type == TERMINATE_RECORD_TYPE)
            invalid("aucune image dans le fichier GIF");
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR)
                invalid("extension GIF illisible");
            if (code == GRAPHICS_EXT_FUNC_CODE && block)
                transparent = transparentIndex(block);
            while (block) {
                if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR)
                    invalid("extension GIF illisible");
            }
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE)
            continue;

        if (DGifGetImageDesc(gif.get()) == GIF_ERROR)
            invalid("description d'image GIF illisible");
        const GifImageDesc& desc = gif->Image;
        if (desc.Width <= 0 || desc.Height <= 0 || desc.Left < 0 || desc.Top < 0)
            invalid("image GIF vide");
        if (!Bitmap::isAcceptableSize(desc.Width, desc.Height))
            invalid("dimensions refusées");
        const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
        std::vector<Colour> palette;
        if (map && map->Colors) {
            const int n = std::min(map->ColorCount, 256);
            palette.resize(std::size_t(n));
            for (int i = 0; i < n; ++i)
                palette[std::size_t(i)] = makeColour(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue);
        } else {
            palette.resize(256);
            for (int i = 0; i < 256; ++i)
                palette[std::size_t(i)] = makeColour(i, i, i);
        }
        const int background = gif->SBackGroundColor < int(palette.size()) ? gif->SBackGroundColor : 0;

        Bitmap bmp(desc.Width, desc.Height, 8);
        bmp.setPalette(palette);
        for (int y = 0; y < desc.Height; ++y)
            std::memset(bmp.row(y), background, std::size_t(desc.Width));

        // Interlaced images arrive in four passes: rows 0, 8, 16...; 4, 12...;
        // 2, 6...; 1, 3...
        std::vector<int> order;
        order.reserve(std::size_t(desc.Height));
        if (desc.Interlace) {
            static constexpr int kStart[] = {0, 4, 2, 1};
            static constexpr int kStep[] = {8, 8, 4, 2};
            for (int pass = 0; pass < 4; ++pass)
                for (int y = kStart[pass]; y < desc.Height; y += kStep[pass])
                    order.push_back(y);
        } else {
            for (int y = 0; y < desc.Height; ++y)
                order.push_back(y);
        }
        std::vector<GifPixelType> line(static_cast<std::size_t>(desc.Width));
        for (const int y : order) {
            if (DGifGetLine(gif.get(), line.data(), desc.Width) == GIF_ERROR)
                invalid("données GIF tronquées");
            std::uint8_t* row = bmp.row(y);
            for (int x = 0; x < desc.Width; ++x)
                if (line[std::size_t(x)] != transparent)
                    row[x] = line[std::size_t(x)];
        }
        return bmp;
    }
}

} // namespace px
