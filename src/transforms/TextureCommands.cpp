// The rows of the generated images of the "&Image" menu and of the
// textures of the "Effe&ts" menu.
#include "effects/Parallel.h"
#include "transforms/BandeDessinee.h"
#include "transforms/Gradients.h"
#include "transforms/Plasma.h"
#include "transforms/Textures.h"
#include "transforms/TransformFamilies.h"

namespace px {

namespace {

constexpr const char* kGenerated = "Images générées";
constexpr const char* kTextures = "Textures";

// The shared generator, or one of the routine's own when the caller has
// none.
template <class Body> void withRandom(const EffectContext& context, Body body)
{
    if (context.random) {
        body(*context.random);
    } else {
        RandomGenerator own;
        body(own);
    }
}

void addMarble(EffectRegistry& r, const char* name, const char* caption, const char* description, MarbleVariant variant,
               int period, int scale, bool backwards = false)
{
    r.add({.name = name,
           .caption = caption,
           .category = kTextures,
           .description = description,
           .inPlace = [=](Bitmap& b, const EffectContext&, std::span<const int>) {
               Marbre(b, variant, period, scale, backwards);
           }});
}

void addSpray(EffectRegistry& r, const char* name, const char* caption, const char* description, int radius)
{
    r.add({.name = name,
           .caption = caption,
           .shape = EffectCommand::Shape::WorkCopy,
           .workStartsAsCopy = true,
           .category = kTextures,
           .description = description,
           .workCopy = [radius](const Bitmap& source, Bitmap& target, const EffectContext& context,
                                std::span<const int>) {
               withRandom(context, [&](RandomGenerator& random) { Spray(source, target, radius, random); });
           }});
}

void addSprayDecompose(EffectRegistry& r, const char* name, const char* caption, const char* description, int amount)
{
    r.add({.name = name,
           .caption = caption,
           .category = kTextures,
           .description = description,
           .inPlace = [amount](Bitmap& b, const EffectContext& context, std::span<const int>) {
               withRandom(context, [&](RandomGenerator& random) { SprayDecompose(b, amount, random); });
           }});
}

} // namespace

void addGeneratedImageCommands(EffectRegistry& r)
{
    // The style, then the start and end colours the dialog shows; the batch
    // command line may leave the colours out for the main and background
    // colours.
    r.add({.name = "Construiredegrader",
           .caption = "&Construire dégrader...",
           .parameters = {{.name = "STYLE",
                           .kind = EffectParameter::Kind::Choice,
                           .choices = {kGradientStyleNames.begin(), kGradientStyleNames.end()}},
                          {.name = "DEBUT", .kind = EffectParameter::Kind::Colour, .optional = true},
                          {.name = "FIN", .kind = EffectParameter::Kind::Colour, .optional = true}},
           .binding = EffectBinding::Dialog,
           .dialog = "TForm5",
           .category = kGenerated,
           .inPlace = [](Bitmap& b, const EffectContext& context, std::span<const int> v) {
               const Colour start = v.size() > 1 ? Colour(v[1]) : context.mainColour;
               const Colour end = v.size() > 2 ? Colour(v[2]) : context.backgroundColour;
               renderGradient(b, GradientStyle(v[0]), start, end);
           }});
    r.add({.name = "Plasma1",
           .caption = "Plas&ma",
           .shape = EffectCommand::Shape::WorkCopy,
           .category = kGenerated,
           .workCopy = [](const Bitmap& source, Bitmap& target, const EffectContext& context, std::span<const int>) {
               withRandom(context, [&](RandomGenerator& random) { Plasma(source, target, 500, random); });
           }});
}

void addTextureCommands(EffectRegistry& r)
{
    r.add({.name = "Bandedess1",
           .caption = "&Bande dessinée",
           .category = kTextures,
           .description = "Donne un effet de bande dessinée à l'image",
           .inPlace = [](Bitmap& b, const EffectContext&, std::span<const int>) { BandeDessinee(b, 20); }});
    // "F&ormes".
    r.add(
        {.name = "Mandel1",
         .caption = "Mandel",
         .category = kTextures,
         .description = "Applique l'effet mandel",
         .inPlace = [](Bitmap& b, const EffectContext&, std::span<const int>) { Mandel(b, 50, effectThreadCount()); }});
    r.add({.name = "Ovale1",
           .caption = "&Ovale",
           .category = kTextures,
           .description = "Rend ovale l'image",
           .inPlace = [](Bitmap& b, const EffectContext& context, std::span<const int>) {
               Ovale(b, context.backgroundColour);
           }});
    // "Mar&bre".
    addMarble(r, "Marbre1", "&Marbre 1", "Applique l'effet marble 1 sur l'image", MarbleVariant::A, 102, 100);
    addMarble(r, "Marbre2", "M&arbre 2", "Applique l'effet marble 2 sur l'image", MarbleVariant::A, 100, 10);
    addMarble(r, "Marbre31", "Mar&bre 3", "Applique l'effet marble 3 sur l'image", MarbleVariant::B, 100, 10);
    addMarble(r, "Marbre41", "Marb&re 4", "Applique l'effet marble 4 sur l'image", MarbleVariant::C, 100, 10);
    addMarble(r, "Marbre51", "Marbr&e 5", "Applique l'effet marble 5 sur l'image", MarbleVariant::A, 100, 10, true);
    addMarble(r, "Marbre61", "Marbre &6", "Applique l'effet marble 6 sur l'image", MarbleVariant::D, 100, 10);
    // "S&pray".
    addSpray(r, "Spray1", "&Spray", "Applique du spray sur l'image", 5);
    addSpray(r, "Sprayplus1", "Spray &plus", "Applique encore plus de spray sur l'image", 10);
    addSprayDecompose(r, "Spraydecomp1", "Spray décomposé", "Applique du spray décomposé sur l'image", 200);
    addSprayDecompose(r, "Spraydcomposerplus1", "Spray décomposé plus",
                      "Applique encore plus de spray décomposé sur l'image", 90);
}

} // namespace px
