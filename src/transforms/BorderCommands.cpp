// The rows of the frames and margins of the "&Image" menu, and of the
// bevel and blended borders of the "Effe&ts" menu.
#include "transforms/Borders.h"
#include "transforms/TransformFamilies.h"

#include <optional>

namespace px {

namespace {

constexpr const char* kFrames = "Bordures";
constexpr const char* kBevels = "Boutons et bordures";

// The canvas a frame draws with: the document's own when the routine runs
// on the document (its pen style and brush colour are used, and its state
// stays as the frame leaves it), otherwise a fresh one on the bitmap.
class FrameCanvas {
public:
    FrameCanvas(Bitmap& bitmap, const EffectContext& context)
    {
        if (context.canvas && &context.canvas->bitmap() == &bitmap) {
            canvas_ = context.canvas;
        } else {
            local_.emplace(bitmap);
            canvas_ = &*local_;
        }
    }
    Canvas& operator*() { return *canvas_; }

private:
    std::optional<Canvas> local_;
    Canvas* canvas_ = nullptr;
};

EffectParameter choice(const char* name, std::vector<std::string> choices)
{
    return {.name = name, .kind = EffectParameter::Kind::Choice, .choices = std::move(choices)};
}

EffectParameter range(const char* name, int minimum, int maximum)
{
    return {.name = name, .minimum = minimum, .maximum = maximum};
}

void addBlend(EffectRegistry& r, const char* name, const char* caption, const char* description, int n)
{
    r.add({.name = name,
           .caption = caption,
           .category = kBevels,
           .description = description,
           .inPlace = [n](Bitmap& b, const EffectContext&, std::span<const int>) { BordureDecomposee(b, n); }});
}

} // namespace

void addFrameCommands(EffectRegistry& r)
{
    r.add({.name = "Ajouterunebordure1",
           .caption = "&Ajouter une bordure...",
           .parameters = {range("HAUT", 0, 5000), range("BAS", 0, 5000), range("GAUCHE", 0, 5000),
                          range("DROITE", 0, 5000)},
           .binding = EffectBinding::Dialog,
           .dialog = "TForm32",
           .windowAfter = WindowAfterEffect::FitDocument,
           .category = kFrames,
           .inPlace = [](Bitmap& b, const EffectContext& context, std::span<const int> v) {
               AddBorder(b, v[0], v[1], v[2], v[3], context.backgroundColour);
               if (context.canvas && &context.canvas->bitmap() == &b)
                   context.canvas->setPenColour(context.mainColour);
           }});
    // STYLE 0 is "Solide".
    r.add({.name = "Bordure1",
           .caption = "&Simple...",
           .parameters = {choice("STYLE", {"Solide", "Transparent"}), range("EPAISSEUR", 0, 100)},
           .binding = EffectBinding::Dialog,
           .dialog = "TForm12",
           .category = kFrames,
           .inPlace = [](Bitmap& b, const EffectContext& context, std::span<const int> v) {
               FrameCanvas canvas(b, context);
               SimpleFrame(*canvas, v[0] == 0, v[1], context.mainColour);
           }});
    // STYLE 1 is "Solide"; COULEURS 0 draws the top and left lines in the
    // main colour, 1 in the background colour.
    r.add({.name = "Bordurecou1",
           .caption = "&Deux couleurs...",
           .parameters = {choice("STYLE", {"Transparent", "Solide"}), range("EPAISSEUR", 1, 100),
                          choice("COULEURS", {"Principale - fond", "Fond - principale"})},
           .binding = EffectBinding::Dialog,
           .dialog = "TForm28",
           .windowAfter = WindowAfterEffect::Cascade,
           .category = kFrames,
           .inPlace = [](Bitmap& b, const EffectContext& context, std::span<const int> v) {
               FrameCanvas canvas(b, context);
               const bool mainFirst = v[2] == 0;
               TwoColourFrame(*canvas, v[0] == 1, v[1], mainFirst ? context.mainColour : context.backgroundColour,
                              mainFirst ? context.backgroundColour : context.mainColour, context.mainColour);
           }});
}

void addBevelAndBlendCommands(EffectRegistry& r)
{
    r.add({.name = "Bouton1",
           .caption = "&Bouton",
           .category = kBevels,
           .description = "Transforme l'image en bouton",
           .inPlace = [](Bitmap& b, const EffectContext&, std::span<const int>) { ButtonBevel(b, 5, 100); }});

    AdjustmentDialogSetup bevel;
    bevel.caption = "Bouton...";
    bevel.valueCaption = nullptr;
    bevel.trackBars = {{.minimum = 0,
                        .maximum = 250,
                        .tickFrequency = 10,
                        .rangeLabels = {"0", "250"},
                        .caption = "Transparence :",
                        .valueLabelName = "Label7",
                        .parameter = "TRANSPARENCE"},
                       {.minimum = 0,
                        .maximum = 100,
                        .tickFrequency = 4,
                        .rangeLabels = {"0", "100"},
                        .caption = "Taille :",
                        .valueLabelName = "Label10",
                        .parameter = "TAILLE"}};
    // OK applies only with a transparency; the size alone changes nothing.
    bevel.gatingTrackBar = 0;
    r.add({.name = "Bouton3",
           .caption = "B&outon...",
           .binding = EffectBinding::TrackBars,
           .dialog = "TForm40",
           .adjustment = std::move(bevel),
           .category = kBevels,
           .inPlace = [](Bitmap& b, const EffectContext&, std::span<const int> v) { ButtonBevel(b, v[1], v[0]); }});

    addBlend(r, "Borduredecomp1", "Bordure décomposée", "Décompose les bordures haute et droite de l'image", 10);
    addBlend(r, "Borduredcomposerplus1", "Bordure décomposée plus",
             "Décompose encore plus les bordures haute et droite de l'image", 5);
    // Position 1 stands for no border.
    AdjustmentDialogSetup blend;
    blend.caption = "Bordure décomposée...";
    blend.trackBars = {{.minimum = 1,
                        .maximum = 30,
                        .tickFrequency = 1,
                        .rangeLabels = {"0", "30"},
                        .valueLabelName = "Label7",
                        .minimumIsNone = true}};
    r.add({.name = "Borduredcomposer2",
           .caption = "Bordure décomposée...",
           .binding = EffectBinding::TrackBars,
           .dialog = "TForm41",
           .adjustment = std::move(blend),
           .category = kBevels,
           .inPlace = [](Bitmap& b, const EffectContext&, std::span<const int> v) { BordureDecomposee(b, v[0]); }});
}

} // namespace px
