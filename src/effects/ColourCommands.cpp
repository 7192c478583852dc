#include "effects/ColourAdjustments.h"
#include "effects/Parallel.h"

namespace px {

namespace {

using Routine = void (*)(Bitmap&, int, int);

void addFixed(EffectRegistry& r, const char* name, const char* caption, Routine routine, int amount)
{
    r.add({.name = name,
           .caption = caption,
           .parameters = {},
           .shape = EffectCommand::Shape::InPlace,
           .inPlace = [routine, amount](Bitmap& b, const EffectContext&, std::span<const int>) {
               routine(b, amount, effectThreadCount());
           }});
}

// A one-track-bar dialog: the value is the track bar position; the routine
// runs with the position mapped by `map`, and position 0 applies nothing.
void addDialog(
    EffectRegistry& r, const char* name, const char* caption, Routine routine, int maximum,
    int (*map)(int) = [](int position) { return position; })
{
    r.add({.name = name,
           .caption = caption,
           .parameters = {{.name = "POSITION", .minimum = 0, .maximum = maximum}},
           .shape = EffectCommand::Shape::InPlace,
           .inPlace = [routine, map](Bitmap& b, const EffectContext&, std::span<const int> v) {
               if (v[0] != 0)
                   routine(b, map(v[0]), effectThreadCount());
           }});
}

void addNoise(EffectRegistry& r, const char* name, const char* caption, bool perChannel, int amount)
{
    r.add({.name = name,
           .caption = caption,
           .parameters = {},
           .shape = EffectCommand::Shape::InPlace,
           .inPlace = [perChannel, amount](Bitmap& b, const EffectContext& context, std::span<const int>) {
               RandomGenerator fallback;
               RandomGenerator& random = context.random ? *context.random : fallback;
               if (perChannel)
                   BruitCouleur(b, amount, random, effectThreadCount());
               else
                   Bruit(b, amount, random, effectThreadCount());
           }});
}

void addSimple(EffectRegistry& r, const char* name, const char* caption, EffectCommand::InPlaceRoutine routine,
               std::vector<EffectParameter> parameters = {}, bool convertTo24 = true)
{
    r.add({.name = name,
           .caption = caption,
           .parameters = std::move(parameters),
           .shape = EffectCommand::Shape::InPlace,
           .convertTo24 = convertTo24,
           .inPlace = std::move(routine)});
}

EffectParameter colour(const char* name)
{
    return {.name = name, .kind = EffectParameter::Kind::Colour};
}
EffectParameter offset(const char* name)
{
    return {.name = name, .minimum = -255, .maximum = 255};
}

void addPixelFormat(EffectRegistry& r, const char* name, const char* caption, int bitsPerPixel)
{
    addSimple(
        r, name, caption,
        [bitsPerPixel](Bitmap& b, const EffectContext&, std::span<const int>) { b.setPixelFormat(bitsPerPixel); }, {},
        false);
}

} // namespace

void addColourAdjustmentCommands(EffectRegistry& r)
{
    // "Effe&ts" > "Br&uit".
    addNoise(r, "Bruit1", "Bruit", false, 50);
    addNoise(r, "Bruitplus1", "Bruit plus", false, 100);
    addNoise(r, "Bruitcouleur1", "Bruit avec couleur", true, 50);
    addNoise(r, "Bruitaveccouleurplus1", "Bruit avec couleur plus", true, 100);

    // "&Couleurs".
    addSimple(r, "AjusterRVB1", "&Ajuster RVB...",
              [](Bitmap& b, const EffectContext&, std::span<const int> v) {
                  AjusterRVB(b, v[0], v[1], v[2], effectThreadCount());
              },
              {offset("R"), offset("G"), offset("B")});
    // Through the canvas and its colours: indexed documents stay indexed.
    addSimple(
        r, "Changercol1", "&Changer une couleur",
        [](Bitmap& b, const EffectContext& c, std::span<const int>) {
            ChangerCouleur(b, c.mainColour, c.backgroundColour);
        },
        {}, false);
    addSimple(r, "Colorisation1", "Colo&risation...",
              [](Bitmap& b, const EffectContext&, std::span<const int> v) {
                  Colorisation(b, Colour(v[0]), effectThreadCount());
              },
              {colour("COULEUR")});
    addFixed(r, "Contraste1", "&Contraste", Contraste, 50);
    addFixed(r, "Contrasteplus1", "Contraste &plus", Contraste, 100);
    addDialog(r, "Contraste2", "C&ontraste...", Contraste, 500);
    addSimple(r, "Cycle1", "C&ycle",
              [](Bitmap& b, const EffectContext&, std::span<const int>) { Cycle(b, effectThreadCount()); });
    const auto twoColours = [](KeptChannel channel) {
        return [channel](Bitmap& b, const EffectContext&, std::span<const int>) {
            DeuxCouleurs(b, channel, effectThreadCount());
        };
    };
    addSimple(r, "Bleu1", "&Bleu/noir", twoColours(KeptChannel::Blue));
    addSimple(r, "Rouge1", "&Rouge/noir", twoColours(KeptChannel::Red));
    addSimple(r, "Vert1", "&Vert/noir", twoColours(KeptChannel::Green));
    addFixed(r, "Eclaircir1", "&Eclaircir", Eclaircir, 1);
    addFixed(r, "Eclaicirplus1", "Eclaicir &plus", Eclaircir, 2);
    addDialog(r, "Eclaircir3", "E&claircir...", Eclaircir, 10);
    addFixed(r, "Eclipse1", "&Eclipse", Eclipse, 50);
    addFixed(r, "Eclipseplus1", "Eclipse &plus", Eclipse, 100);
    addDialog(r, "Eclipse3", "E&clipse...", Eclipse, 250);
    addFixed(r, "Luminosite1", "&Luminosité", Luminosite, 50);
    addFixed(r, "Luminositplus1", "Luminosité &plus", Luminosite, 100);
    addDialog(r, "Luminosit1", "L&uminosité...", Luminosite, 200);
    addSimple(r, "Ngative1", "&Négative",
              [](Bitmap& b, const EffectContext&, std::span<const int>) { Negative(b, effectThreadCount()); });
    // Every amount below 255 reduces saturation: "plus" reduces it more, and
    // the dialog maps position p to 200 - p (200 greys the image).
    addFixed(r, "Saturation1", "&Saturation", Saturation, 100);
    addFixed(r, "Saturationplus1", "Saturation &plus", Saturation, 50);
    addDialog(r, "Saturation3", "S&aturation...", Saturation, 200, [](int position) { return 200 - position; });
    addSimple(
        r, "Teinte1", "&Teinte...",
        [](Bitmap& b, const EffectContext&, std::span<const int> v) { Teinte(b, Colour(v[0]), effectThreadCount()); },
        {colour("COULEUR")});

    // "&Formats des pixels".
    addPixelFormat(r, "N2couleurs1bit1", "2 &couleurs (1 bit)", 1);
    addPixelFormat(r, "N16couleurs4bit1", "16 c&ouleurs (4 bit)", 4);
    addPixelFormat(r, "N256couleurs8bit1", "256 co&uleurs (8 bit)", 8);
    addPixelFormat(r, "N16millions24bit1", "16 &millions (24 bit)", 24);
}

} // namespace px
