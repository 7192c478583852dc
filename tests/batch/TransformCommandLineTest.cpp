// pixoran3 --apply with the values of the geometry, frame, gradient and
// bevel commands, and their lines in --list-commands.
#include "batch/CommandLine.h"
#include "effects/EffectTestHelpers.h"
#include "fileio/BmpFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

namespace px {
namespace {

struct Outcome {
    int code = -1;
    std::string err;
    Bitmap image;
};

// Runs the arguments on `input` and reads the output back.
Outcome apply(const Bitmap& input, std::vector<std::string> args)
{
    test::TempDir dir;
    writeBmpFile(dir.file("in.bmp"), input);
    args.push_back(dir.file("in.bmp").string());
    args.push_back(dir.file("out.bmp").string());
    std::ostringstream out, err;
    Outcome o;
    o.code = runCommandLine(args, out, err).value_or(-1);
    o.err = err.str();
    if (o.code == 0)
        o.image = readBmpFile(dir.file("out.bmp"));
    return o;
}

const Colour kA = makeColour(200, 0, 0), kB = makeColour(0, 0, 200);

Bitmap ab()
{
    Bitmap b(2, 1, 24);
    b.setPixel(0, 0, kA);
    b.setPixel(1, 0, kB);
    return b;
}

TEST(TransformCommandLine, RotationsTakeDirectionDegreesAndAngle)
{
    Outcome o = apply(ab(), {"--apply", "Rotation3=Droite,90"});
    ASSERT_EQ(o.code, 0) << o.err;
    EXPECT_EQ(o.image.pixel(0, 0), kA);
    EXPECT_EQ(o.image.height(), 2);
    o = apply(ab(), {"--apply", "Rotation3=gauche,270"});
    EXPECT_EQ(o.image.pixel(0, 0), kA);
    o = apply(ab(), {"--apply", "Rotation3=Gauche,Libre,90"});
    EXPECT_EQ(o.image.pixel(0, 0), kB);
    // 45 degrees: the corners of a square take the background colour.
    o = apply(test::filled(9, 9, kA), {"--background-colour", "00FF00", "--apply", "Rotation3=Gauche,Libre,45"});
    ASSERT_EQ(o.code, 0) << o.err;
    EXPECT_EQ(o.image.pixel(0, 0), makeColour(0, 255, 0));
    EXPECT_EQ(o.image.pixel(4, 4), kA);
    // "Libre" needs its angle; a choice must be one of the list.
    EXPECT_EQ(apply(ab(), {"--apply", "Rotation3=Droite,Libre"}).code, 1);
    EXPECT_EQ(apply(ab(), {"--apply", "Rotation3=Haut,90"}).code, 2);
    EXPECT_EQ(apply(ab(), {"--apply", "Rotation3=Droite,45"}).code, 2);
}

TEST(TransformCommandLine, SizesAndMargins)
{
    Outcome o = apply(test::filled(4, 2, kA), {"--apply", "Redimensionner1=2,6"});
    ASSERT_EQ(o.code, 0) << o.err;
    EXPECT_EQ(o.image.width(), 2);
    EXPECT_EQ(o.image.height(), 6);
    o = apply(ab(), {"--apply", "Etirerbords1=3,2"});
    EXPECT_EQ(o.image.pixel(1, 0), kB);
    EXPECT_EQ(o.image.pixel(2, 1), kBlack);
    o = apply(ab(), {"--background-colour", "0000FF", "--apply", "Ajouterunebordure1=1,2,3,4"});
    ASSERT_EQ(o.code, 0) << o.err;
    EXPECT_EQ(o.image.width(), 9);
    EXPECT_EQ(o.image.height(), 4);
    EXPECT_EQ(o.image.pixel(3, 1), kA);
    EXPECT_EQ(o.image.pixel(0, 0), makeColour(0, 0, 255));
    // 0 and sizes past 65535 are refused before any work.
    for (const char* bad : {"Etirerbords1=0,5", "Redimensionner1=65536,1", "Ajouterunebordure1=1,1,1"})
        EXPECT_EQ(apply(ab(), {"--apply", bad}).code, 2) << bad;
}

TEST(TransformCommandLine, GradientsFramesAndBevel)
{
    // The main and background colours are the gradient's ends unless given.
    Outcome o = apply(test::filled(3, 256, kA), {"--main-colour", "000000", "--background-colour", "FFFFFF", "--apply",
                                                 "Construiredegrader=Vertical"});
    ASSERT_EQ(o.code, 0) << o.err;
    EXPECT_EQ(o.image.pixel(1, 0), kBlack);
    EXPECT_EQ(o.image.pixel(1, 255), kWhite);
    o = apply(test::filled(256, 1, kA), {"--apply", "Construiredegrader=horizontal,FF0000,0000FF"});
    EXPECT_EQ(o.image.pixel(0, 0), makeColour(255, 0, 0));
    EXPECT_EQ(o.image.pixel(255, 0), makeColour(0, 0, 255));
    // A fresh canvas: white brush inside a solid frame, main-colour outline.
    o = apply(test::filled(5, 5, kA), {"--main-colour", "00FF00", "--apply", "Bordure1=Solide,1"});
    EXPECT_EQ(o.image.pixel(0, 0), makeColour(0, 255, 0));
    EXPECT_EQ(o.image.pixel(2, 2), kWhite);
    o = apply(test::filled(5, 5, kA), {"--apply", "Bordurecou1=Transparent,1,Fond - principale"});
    EXPECT_EQ(o.image.pixel(2, 0), kWhite);
    EXPECT_EQ(o.image.pixel(2, 2), kA);
    o = apply(test::filled(12, 12, kWhite), {"--apply", "Bouton3=100,5"});
    EXPECT_EQ(o.image.pixel(6, 11), makeColour(155, 155, 155));
    EXPECT_EQ(apply(ab(), {"--apply", "Bouton3=251,5"}).code, 2);
}

TEST(TransformCommandLine, ListCommandsDocumentsTheValues)
{
    std::ostringstream out, err;
    ASSERT_EQ(runCommandLine({"--list-commands"}, out, err), 0);
    const std::string text = out.str();
    for (const char* line :
         {"Rotation3\tRotation...\tDIRECTION(Droite|Gauche),DEGRES(90|180|270|Libre),[ANGLE(-2147483648..2147483647)]"
          "\n",
          "Redimensionner1\tRedimensionner...\tLARGEUR(1..65535),HAUTEUR(1..65535)\n",
          "Ajouterunebordure1\tAjouter une bordure...\tHAUT(0..5000),BAS(0..5000),GAUCHE(0..5000),DROITE(0..5000)\n",
          "Construiredegrader\tConstruire dégrader...\tSTYLE(Horizontal|Vertical|Elliptic|Rectangle|VertCentre|"
          "HorizCentre|Radial1|Radial2),[DEBUT(RRGGBB)],[FIN(RRGGBB)]\n",
          "Bordurecou1\tDeux couleurs...\tSTYLE(Transparent|Solide),EPAISSEUR(1..100),"
          "COULEURS(Principale - fond|Fond - principale)\n",
          "Bouton3\tBouton...\tTRANSPARENCE(0..250),TAILLE(0..100)\n", "Plasma1\tPlasma\t\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
}

} // namespace
} // namespace px
