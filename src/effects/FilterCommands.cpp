#include "effects/Blur.h"
#include "effects/EffectFamilies.h"
#include "effects/Convolution.h"
#include "effects/Parallel.h"
#include "effects/SharedRoutines.h"

#include <climits>

namespace px {

namespace {

// What some filters do after their convolution.
enum class Then { Nothing, XorWithBrush, XorThenGrey };

constexpr const char* kCategory = "Filtres";

void addConvolution(EffectRegistry& r, const char* name, const char* caption, const char* description,
                    Kernel3x3 kernel, int divisor, Then then = Then::Nothing)
{
    r.add({.name = name,
           .caption = caption,
           .parameters = {},
           .shape = EffectCommand::Shape::InPlace,
           .category = kCategory,
           .description = description,
           .inPlace = [kernel, divisor, then](Bitmap& b, const EffectContext& context, std::span<const int>) {
               Convolve3x3(b, kernel, filterDivisor(divisor), effectThreadCount());
               if (then != Then::Nothing)
                   XorWithBrush(b, context.brushColour);
               if (then == Then::XorThenGrey)
                   GrisatreImage(b);
           }});
}

EffectParameter integer(const char* name)
{
    return {.name = name, .minimum = INT_MIN, .maximum = INT_MAX};
}

} // namespace

void addFilterCommands(EffectRegistry& r)
{
    // "Effe&ts" menu.
    addConvolution(r, "Antialias1", "A&ntialias", "Applique l'effet antialias sur l'image", {1, 2, 1, 2, 20, 2, 1, 2, 1}, 32);
    // "&Filtres" submenu.
    addConvolution(r, "Boss1", "B&oss", "Applique le filtre boss à l'image", {2, 0, 2, 0, 1, 0, 2, 0, -6}, 1);
    addConvolution(r, "Contour1", "Contour", "Ne garde que les contours de l'image", {3, 3, 3, 3, -25, 3, 3, 3, 3}, 1, Then::XorThenGrey);
    addConvolution(r, "Durcir1", "Durcir", "Durcissement de l'image", {-1, -2, -1, -2, 28, -2, -1, -2, -1}, 16);
    addConvolution(r, "Durcirplus1", "Durcir plus", "Durcissement encore plus de l'image", {0, -1, 0, -1, 5, -1, 0, -1, 0}, 1);
    r.add({.name = "Emboss1",
           .caption = "&Emboss",
           .parameters = {},
           .shape = EffectCommand::Shape::WorkCopy,
           .category = kCategory,
           .description = "Applique le filtre emboss à l'image",
           .workCopy = [](const Bitmap& source, Bitmap& work, const EffectContext&, std::span<const int>) {
               EmbossImage(source, work);
           }});
    addConvolution(r, "Findedge1", "Find edges", "Applique l'effet find edges à l'image", {1, 1, 1, 1, -2, 1, -1, -1, -1}, 1);
    addConvolution(r, "Adoucir1", "Adoucir", "Adoucissement des détails de l'image", {0, 1, 0, 1, 2, 1, 0, 1, 0}, 6);
    addConvolution(r, "Adoucirplus1", "Adoucir plus", "Adoucissement encore plus des détails de l'image", {2, 2, 2, 2, 0, 2, 2, 1, 2}, 16);
    r.add({.name = "Flou1",
           .caption = "&Flou",
           .parameters = {},
           .shape = EffectCommand::Shape::InPlace,
           .category = kCategory,
           .description = "Rend flou l'image",
           .inPlace = [](Bitmap& b, const EffectContext&, std::span<const int>) {
               Flou4(b, 0, 0, b.width(), b.height());
           }});
    addConvolution(r, "Flouplus1", "Flou &plus", "Rend encore plus flou l'image", {1, 1, 1, 1, 1, 1, 1, 1, 1}, 9);
    r.add({.name = "Gaussianflou1",
           .caption = "Gaussian flou",
           .parameters = {},
           .shape = EffectCommand::Shape::InPlace,
           .category = kCategory,
           .description = "Applique l'effet Gaussian flou à l'image",
           .inPlace = [](Bitmap& b, const EffectContext&, std::span<const int>) {
               for (int pass = 0; pass < 3; ++pass)
                   Hallucination(b, 3);
           }});
    addConvolution(r, "Focus1", "Focus", "Agit sur le focus de l'image", {0, -1, 0, -1, 5, -1, 0, -1, 0}, 1);
    addConvolution(r, "Hipass1", "&Hipass", "Applique le filtre Hipass à l'image", {-1, -1, -1, -1, 9, -1, -1, -1, -1}, 1);
    addConvolution(r, "Laplace1", "&Laplace", "Applique le filtre Laplace à l'image", {-1, -1, -1, -1, 8, -1, -1, -1, -1}, 1);
    addConvolution(r, "Lithographie1", "Lithographie", "Applique de la lithographie sur l'image", {-5, -5, -5, -5, 42, -5, -5, -5, -5}, 2);
    addConvolution(r, "Relief1", "Relief", "Applique l'effet relief", {0, -1, 0, -1, 1, 1, 0, 1, 0}, 1);
    addConvolution(r, "Sharpen1", "Sharpen", "Applique le filtre sharpen", {-1, -1, -1, -1, 16, -1, -1, -1, -1}, 8);
    // The kernel and divisor typed into "Créer son filtre..."; the divisor
    // is taken modulo 65536 and 0 is refused with a message.
    r.add({.name = "Filtre1",
           .caption = "Créer son filtre...",
           .parameters = {integer("K0"), integer("K1"), integer("K2"), integer("K3"), integer("K4"), integer("K5"),
                          integer("K6"), integer("K7"), integer("K8"),
                          {.name = "DIVISOR",
                           .minimum = INT_MIN,
                           .maximum = INT_MAX,
                           .note = "pris modulo 65536 ; 0 ou un multiple de 65536 : division par zéro ; -1 vaut 65535"}},
           .shape = EffectCommand::Shape::InPlace,
           .binding = EffectBinding::Dialog,
           .dialog = "TForm27",
           .category = kCategory,
           .inPlace = [](Bitmap& b, const EffectContext&, std::span<const int> v) {
               const Kernel3x3 kernel{v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8]};
               Convolve3x3(b, kernel, filterDivisor(v[9]), effectThreadCount());
           }});
    // "Effe&ts" menu, after the submenus.
    addConvolution(r, "Sculpture1", "&Sculpture", "Applique un effet sculpté sur l'image", {0, -1, -1, 0, 2, 0, 0, 0, 0}, 1, Then::XorThenGrey);
    addConvolution(r, "Trait1", "&Trait", "Renforce les différents traits de l'image", {1, 1, 1, 1, -8, 1, 1, 1, 1}, 1, Then::XorWithBrush);
}

} // namespace px
