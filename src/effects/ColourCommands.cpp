#include "effects/ColourAdjustments.h"
#include "effects/EffectFamilies.h"
#include "effects/SharedRoutines.h"
#include "effects/Parallel.h"

namespace px {

namespace {

using Routine = void (*)(Bitmap&, int, int);

constexpr const char* kColours = "Couleurs";
constexpr const char* kNoise = "Bruit";
constexpr const char* kPixelFormats = "Formats des pixels";

void addFixed(EffectRegistry& r, const char* name, const char* caption, Routine routine, int amount)
{
    r.add({.name = name,
           .caption = caption,
           .parameters = {},
           .shape = EffectCommand::Shape::InPlace,
           .category = kColours,
           .inPlace = [routine, amount](Bitmap& b, const EffectContext&, std::span<const int>) {
               routine(b, amount, effectThreadCount());
           }});
}

// A one-track-bar dialog: the value is the track bar position; the routine
// runs with the position mapped by `map`, and position 0 applies nothing.
void addDialog(
    EffectRegistry& r, const char* name, const char* caption, Routine routine, const char* dialog,
    AdjustmentDialogSetup setup, int (*map)(int) = [](int position) { return position; })
{
    r.add({.name = name,
           .caption = caption,
           .shape = EffectCommand::Shape::InPlace,
           .binding = EffectBinding::TrackBars,
           .dialog = dialog,
           .adjustment = std::move(setup),
           .category = kColours,
           .inPlace = [routine, map](Bitmap& b, const EffectContext&, std::span<const int> v) {
               if (v[0] != 0)
                   routine(b, map(v[0]), effectThreadCount());
           }});
}

void addNoise(EffectRegistry& r, const char* name, const char* caption, const char* description, bool perChannel,
              int amount)
{
    r.add({.name = name,
           .caption = caption,
           .parameters = {},
           .shape = EffectCommand::Shape::InPlace,
           .category = kNoise,
           .description = description,
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
               bool convertTo24 = true)
{
    r.add({.name = name,
           .caption = caption,
           .parameters = {},
           .shape = EffectCommand::Shape::InPlace,
           .convertTo24 = convertTo24,
           .category = kColours,
           .inPlace = std::move(routine)});
}

// A row whose one value is the colour chosen in the colour dialog.
void addColourChoice(EffectRegistry& r, const char* name, const char* caption, void (*routine)(Bitmap&, Colour, int),
                     bool snapshotBeforeDialog)
{
    r.add({.name = name,
           .caption = caption,
           .parameters = {{.name = "COULEUR", .kind = EffectParameter::Kind::Colour}},
           .shape = EffectCommand::Shape::InPlace,
           .binding = EffectBinding::Colour,
           .snapshotBeforeDialog = snapshotBeforeDialog,
           .category = kColours,
           .inPlace = [routine](Bitmap& b, const EffectContext&, std::span<const int> v) {
               routine(b, Colour(v[0]), effectThreadCount());
           }});
}

TrackBarSetup offsetTrackBar(const char* caption, const char* valueLabelName, const char* parameter)
{
    return {.minimum = -255,
            .maximum = 255,
            .tickFrequency = 18,
            .rangeLabels = {"-255", "0", "255"},
            .caption = caption,
            .valueLabelName = valueLabelName,
            .parameter = parameter};
}

void addPixelFormat(EffectRegistry& r, const char* name, const char* caption, int bitsPerPixel)
{
    r.add({.name = name,
           .caption = caption,
           .parameters = {},
           .shape = EffectCommand::Shape::InPlace,
           .convertTo24 = false,
           .category = kPixelFormats,
           .inPlace = [bitsPerPixel](Bitmap& b, const EffectContext&, std::span<const int>) {
               b.setPixelFormat(bitsPerPixel);
           }});
}

} // namespace

void addColourAdjustmentCommands(EffectRegistry& r)
{
    // "&Grisâtre" keeps indexed documents indexed.
    addSimple(
        r, "Grisatre1", "&Grisâtre", [](Bitmap& b, const EffectContext&, std::span<const int>) { GrisatreImage(b); },
        false);

    // "Effe&ts" > "Br&uit".
    addNoise(r, "Bruit1", "Bruit", "Applique du bruit à l'image", false, 50);
    addNoise(r, "Bruitplus1", "Bruit plus", "Applique encore plus de bruit à l'image", false, 100);
    addNoise(r, "Bruitcouleur1", "Bruit avec couleur", "Applique du bruit avec de la couleur à l'image", true, 50);
    addNoise(r, "Bruitaveccouleurplus1", "Bruit avec couleur plus",
             "Applique encore plus de bruit avec de la couleur à l'image", true, 100);

    // "&Couleurs". Three offsets; OK applies them even when all are 0.
    r.add({.name = "AjusterRVB1",
           .caption = "&Ajuster RVB...",
           .shape = EffectCommand::Shape::InPlace,
           .binding = EffectBinding::TrackBars,
           .dialog = "TForm38",
           .adjustment = AdjustmentDialogSetup{.caption = "Ajuster RVB...",
                                               .destinationTitle = "Image ajustée",
                                               .valueCaption = "Valeurs :",
                                               .trackBars = {offsetTrackBar("R :", "RedValueLbl", "R"),
                                                             offsetTrackBar("V :", "GreenValueLbl", "G"),
                                                             offsetTrackBar("B :", "BlueValueLbl", "B")},
                                               .signedValues = true,
                                               .appliesAtZero = true},
           .category = kColours,
           .inPlace = [](Bitmap& b, const EffectContext&, std::span<const int> v) {
               AjusterRVB(b, v[0], v[1], v[2], effectThreadCount());
           }});
    // Through the canvas and its colours: indexed documents stay indexed.
    addSimple(
        r, "Changercol1", "&Changer une couleur",
        [](Bitmap& b, const EffectContext& c, std::span<const int>) {
            ChangerCouleur(b, c.mainColour, c.backgroundColour);
        },
        false);
    addColourChoice(r, "Colorisation1", "Colo&risation...", Colorisation, false);
    addFixed(r, "Contraste1", "&Contraste", Contraste, 50);
    addFixed(r, "Contrasteplus1", "Contraste &plus", Contraste, 100);
    addDialog(r, "Contraste2", "C&ontraste...", Contraste, "TForm7", oneTrackBar("Contraste...", 500, 18));
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
    // The sine curve is slow on large images: its preview waits for the button.
    AdjustmentDialogSetup brighten = oneTrackBar("Eclaircir...", 10, 1);
    brighten.previewButton = "Aplliquer effet";
    addDialog(r, "Eclaircir3", "E&claircir...", Eclaircir, "TForm42", brighten);
    addFixed(r, "Eclipse1", "&Eclipse", Eclipse, 50);
    addFixed(r, "Eclipseplus1", "Eclipse &plus", Eclipse, 100);
    addDialog(r, "Eclipse3", "E&clipse...", Eclipse, "TForm35", oneTrackBar("Eclipse...", 250, 9));
    addFixed(r, "Luminosite1", "&Luminosité", Luminosite, 50);
    addFixed(r, "Luminositplus1", "Luminosité &plus", Luminosite, 100);
    addDialog(r, "Luminosit1", "L&uminosité...", Luminosite, "TForm9", oneTrackBar("Luminosité...", 200, 10));
    addSimple(r, "Ngative1", "&Négative",
              [](Bitmap& b, const EffectContext&, std::span<const int>) { Negative(b, effectThreadCount()); });
    // Every amount below 255 reduces saturation: "plus" reduces it more, and
    // the dialog maps position p to 200 - p (200 greys the image).
    addFixed(r, "Saturation1", "&Saturation", Saturation, 100);
    addFixed(r, "Saturationplus1", "Saturation &plus", Saturation, 50);
    addDialog(
        r, "Saturation3", "S&aturation...", Saturation, "TForm34", oneTrackBar("Saturation...", 200, 10),
        [](int position) { return 200 - position; });
    // "&Teinte..." takes its snapshot before the colour dialog.
    addColourChoice(r, "Teinte1", "&Teinte...", Teinte, true);

    // "&Formats des pixels".
    addPixelFormat(r, "N2couleurs1bit1", "2 &couleurs (1 bit)", 1);
    addPixelFormat(r, "N16couleurs4bit1", "16 c&ouleurs (4 bit)", 4);
    addPixelFormat(r, "N256couleurs8bit1", "256 co&uleurs (8 bit)", 8);
    addPixelFormat(r, "N16millions24bit1", "16 &millions (24 bit)", 24);
}

} // namespace px
