// The rows of the geometric transforms of the "&Image" menu.
#include "transforms/Mirrors.h"
#include "transforms/Resizing.h"
#include "transforms/Rotations.h"
#include "transforms/TransformFamilies.h"

#include <climits>

namespace px {

namespace {

constexpr const char* kCategory = "Géométrie";

void addDoubling(EffectRegistry& r, const char* name, const char* caption, MirrorDoubling doubling)
{
    r.add({.name = name,
           .caption = caption,
           .shape = EffectCommand::Shape::WorkCopy,
           .windowAfter = WindowAfterEffect::Cascade,
           .category = kCategory,
           .workCopy = [doubling](const Bitmap& source, Bitmap& target, const EffectContext&, std::span<const int>) {
               MirrorDouble(source, target, doubling);
           }});
}

// Rotation3's values: direction, degrees and, for "Libre", the angle; every
// turn has a band form, which the whole turn fills at once.
EffectBands rotationBands(const Bitmap& source, const EffectContext& context, std::span<const int> v)
{
    const auto degrees = RotationDegrees(v[1]);
    if (degrees == RotationDegrees::Free && v.size() < 3)
        throw EffectError("'' n'est pas une valeur entière correcte.");
    const int angle = v.size() > 2 ? v[2] : 0;
    const int w = source.width(), h = source.height();
    switch (rotationRoutine(RotationDirection(v[0]), degrees, angle)) {
    case RotationRoutine::Right90:
        return {h, w, [&source](const RowBand& band) { RotateRight90Rows(source, band); }};
    case RotationRoutine::Left90:
        return {h, w, [&source](const RowBand& band) { RotateLeft90Rows(source, band); }};
    case RotationRoutine::Rotate180:
        return {w, h, [&source](const RowBand& band) { Rotate180Rows(source, band); }};
    case RotationRoutine::Free:
        break;
    }
    const Colour background = context.backgroundColour;
    return {w, h,
            [&source, angle, background](const RowBand& band) { RotateFreeRows(source, band, angle, background); }};
}

void rotate(const Bitmap& source, Bitmap& target, const EffectContext& context, std::span<const int> v)
{
    const EffectBands bands = rotationBands(source, context, v);
    target.reallocate(bands.width, bands.height, 24);
    bands.fill(RowBand::whole(target));
}

EffectParameter side(const char* name)
{
    return {.name = name, .minimum = 1, .maximum = Bitmap::kMaxSide};
}

} // namespace

void addGeometryCommands(EffectRegistry& r)
{
    r.add({.name = "MiroirHorizontal1",
           .caption = "Miroir &horizontal",
           .shape = EffectCommand::Shape::WorkCopy,
           .category = kCategory,
           .workCopy = [](const Bitmap& source, Bitmap& target, const EffectContext&, std::span<const int>) {
               MirrorLeftRight(source, target);
           }});
    r.add({.name = "MiroirVertical1",
           .caption = "Miroir &vertical",
           .shape = EffectCommand::Shape::WorkCopy,
           .category = kCategory,
           .workCopy = [](const Bitmap& source, Bitmap& target, const EffectContext&, std::span<const int>) {
               MirrorTopBottom(source, target);
           }});
    addDoubling(r, "Miroir4", "Hauteur et largeur x 2", MirrorDoubling::Both);
    addDoubling(r, "Hauteurx2", "Hauteur x 2", MirrorDoubling::Down);
    addDoubling(r, "Largeurx2", "Largeur x 2", MirrorDoubling::Right);
    r.add({.name = "Rotation3",
           .caption = "&Rotation...",
           .parameters = {{.name = "DIRECTION", .kind = EffectParameter::Kind::Choice, .choices = {"Droite", "Gauche"}},
                          {.name = "DEGRES",
                           .kind = EffectParameter::Kind::Choice,
                           .choices = {"90", "180", "270", "Libre"}},
                          {.name = "ANGLE", .minimum = INT_MIN, .maximum = INT_MAX, .optional = true}},
           .shape = EffectCommand::Shape::WorkCopy,
           .binding = EffectBinding::Dialog,
           .dialog = "TForm18",
           .category = kCategory,
           .workCopy = rotate,
           .bands = rotationBands});
    // The snapshot is taken before the dialog opens; the size is checked
    // before the picture changes.
    r.add({.name = "Etirerbords1",
           .caption = "&Etirer les bords...",
           .parameters = {side("LARGEUR"), side("HAUTEUR")},
           .shape = EffectCommand::Shape::InPlace,
           .binding = EffectBinding::Dialog,
           .dialog = "TForm30",
           .snapshotBeforeDialog = true,
           .windowAfter = WindowAfterEffect::FitDocument,
           .category = kCategory,
           .inPlace = [](Bitmap& b, const EffectContext&, std::span<const int> v) { StretchEdges(b, v[0], v[1]); }});
    r.add({.name = "Redimensionner1",
           .caption = "Re&dimensionner...",
           .parameters = {side("LARGEUR"), side("HAUTEUR")},
           .shape = EffectCommand::Shape::WorkCopy,
           .binding = EffectBinding::Dialog,
           .dialog = "TForm31",
           .windowAfter = WindowAfterEffect::FitDocument,
           .category = kCategory,
           .workCopy = [](const Bitmap& source, Bitmap& target, const EffectContext&, std::span<const int> v) {
               ResizeImage(source, target, v[0], v[1]);
           }});
}

} // namespace px
