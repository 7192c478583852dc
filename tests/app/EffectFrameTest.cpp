// The effect frame around every effect row: reachability from the menus,
// the undo step, the colour dialog commands, failures and the colour count.
#include "app/MainWindowFixture.h"
#include "app/StartupDialogs.h"
#include "effects/dialogs/EffectDialog.h"
#include "effects/Effect.h"

#include <algorithm>

namespace px::test {
namespace {

using EffectFrameTest = MainWindowFixture;

const Colour kRed = makeColour(255, 0, 0);
const Colour kGreen = makeColour(0, 255, 0);

// Every effect row is its menu item (same caption), and every row that takes
// its values from a dialog finds that dialog, built from the row, among the
// start-up dialogs (with the caption the start-up list gives its form).
TEST_F(EffectFrameTest, EveryEffectRowIsAMenuCommandWithItsCaptionHandlerAndDialog)
{
    MainWindow& w = create();
    ASSERT_FALSE(w.effects().all().empty());
    for (const EffectCommand& row : w.effects().all()) {
        const Command* command = w.commands().find(row.name);
        ASSERT_NE(command, nullptr) << row.name << " has no menu row";
        EXPECT_EQ(std::string(command->row.caption), row.caption) << row.name;
        EXPECT_TRUE(bool(command->handler)) << row.name << " has no handler";
        EXPECT_NE(w.action(row.name), nullptr) << row.name;
        EXPECT_EQ(row.binding == EffectBinding::None, row.parameters.empty()) << row.name;
        const bool hasDialog = row.binding == EffectBinding::TrackBars || row.binding == EffectBinding::Dialog;
        EXPECT_EQ(hasDialog, !row.dialog.empty()) << row.name;
        if (!hasDialog)
            continue;
        auto* dialog = qobject_cast<EffectDialog*>(w.dialog(row.dialog));
        ASSERT_NE(dialog, nullptr) << row.name << ": " << row.dialog << " was not built";
        EXPECT_EQ(&dialog->command(), &row) << row.dialog;
        const auto listed =
            std::ranges::find_if(startupDialogs(), [&](const StartupDialog& d) { return row.dialog == d.objectName; });
        if (row.adjustment && listed != startupDialogs().end()) {
            EXPECT_EQ(std::string(row.adjustment->caption), listed->caption) << row.dialog;
        }
    }
    for (const char* name : {"Nombres1", "Nouveau1", "Annuler1", "Rtablir1", "Annulation1"})
        EXPECT_TRUE(bool(w.commands().find(name)->handler)) << name;
}

// An effect changes the active window only, in one undo step.
TEST_F(EffectFrameTest, EffectTakesOneUndoStepOnTheActiveWindow)
{
    ImageWindow* first = open(uniformBitmap(1, 1, kBlack));
    ImageWindow* image = open(uniformBitmap(2, 2, makeColour(10, 20, 30)));
    EXPECT_FALSE(enabled("Annuler1"));
    EXPECT_FALSE(enabled("Annulerbut"));

    trigger("Ngative1");
    EXPECT_EQ(image->document(), uniformBitmap(2, 2, makeColour(245, 235, 225)));
    EXPECT_EQ(first->document().pixel(0, 0), kBlack);
    EXPECT_EQ(undoSteps(), 1);
    EXPECT_TRUE(enabled("Annuler1"));
    EXPECT_TRUE(enabled("Annulerbut"));
    EXPECT_FALSE(enabled("Rtablir1"));

    trigger("Annuler1");
    EXPECT_EQ(image->document(), uniformBitmap(2, 2, makeColour(10, 20, 30)));
}

TEST_F(EffectFrameTest, RunEffectChecksItsValues)
{
    MainWindow& w = create();
    ImageWindow* image = open(uniformBitmap(1, 1, makeColour(0, 0, 0)));
    const int tooLarge[] = {201};
    EXPECT_FALSE(w.runEffect("Luminosit1", tooLarge));
    EXPECT_FALSE(w.runEffect("Inconnu1"));
    EXPECT_EQ(undoSteps(), 0);

    // k + (255 - k) * 100 div 255 = 100 for k = 0.
    const int position[] = {100};
    EXPECT_TRUE(w.runEffect("Luminosit1", position));
    EXPECT_EQ(image->document().pixel(0, 0), makeColour(100, 100, 100));
    EXPECT_EQ(undoSteps(), 1);
}

TEST_F(EffectFrameTest, EmptyDocumentIsLeftAlone)
{
    ImageWindow* image = open(Bitmap(0, 0, 24));
    for (const char* name : {"Flou1", "Sharpen1", "Emboss1", "Grisatre1", "Gaussianflou1", "N2couleurs1bit1"})
        trigger(name);
    EXPECT_TRUE(image->document().isEmpty());
    EXPECT_EQ(undoSteps(), 0);
}

// Trait: a kernel summing to 0 blackens a uniform image, then every pixel is
// XORed with the document canvas's brush colour. "Changer une couleur" takes
// the session's colours. A pixel format is an undoable step.
TEST_F(EffectFrameTest, EffectsTakeTheWindowsCanvasAndTheSessionColours)
{
    ImageWindow* image = open(uniformBitmap(3, 3, makeColour(90, 90, 90)));
    image->canvas().setBrushColour(kRed);
    trigger("Trait1");
    EXPECT_EQ(image->document(), uniformBitmap(3, 3, kRed));

    image = open(fromAscii({"#.", ".#"}));
    session.mainColour = kBlack;
    session.backgroundColour = kGreen;
    trigger("Changercol1");
    EXPECT_EQ(toAscii(image->document(), {{'g', kGreen}}), "g.\n.g\n");

    trigger("N2couleurs1bit1");
    EXPECT_EQ(image->document().bitsPerPixel(), 1);
    EXPECT_EQ(image->document().pixel(1, 0), kWhite);
    trigger("Annuler1");
    EXPECT_EQ(image->document().bitsPerPixel(), 24);
}

// Teinte: colour * max(R, G, B) / 255 rounded half to even: for (128, 64, 0)
// and a tint of (0, 0, 200), blue = 200 * 128 / 255 = 100.39 -> 100. The
// dialog starts from the colour chosen last; Colorisation asks before its
// snapshot, Teinte after.
TEST_F(EffectFrameTest, ColourDialogCommands)
{
    const Bitmap before = fromAscii({"rh"}, {{'r', kRed}, {'h', makeColour(128, 64, 0)}});
    ImageWindow* image = open(before);
    prompter.queueColour(std::nullopt);
    trigger("Colorisation1");
    EXPECT_EQ(undoSteps(), 0) << "Colorisation asks before its snapshot";
    prompter.queueColour(std::nullopt);
    trigger("Teinte1");
    EXPECT_EQ(undoSteps(), 1) << "Teinte takes its snapshot before asking";
    EXPECT_EQ(image->document(), before);

    prompter.queueColour(makeColour(0, 0, 200));
    trigger("Teinte1");
    EXPECT_EQ(image->document().pixel(0, 0), makeColour(0, 0, 200));
    EXPECT_EQ(image->document().pixel(1, 0), makeColour(0, 0, 100));
    EXPECT_EQ(undoSteps(), 2);
    prompter.queueColour(std::nullopt);
    trigger("Colorisation1");
    EXPECT_EQ(prompter.last().initialColour, makeColour(0, 0, 200));
}

TEST_F(EffectFrameTest, ColourCountShowsItsMessageWithoutAnUndoStep)
{
    ImageWindow* image = open(fromAscii({"#.r", "rr."}, {{'r', kRed}}));
    trigger("Nombrecolbut");
    EXPECT_EQ(prompter.last().text, "Le nombre de couleurs unique de cette image est de 3.");
    EXPECT_EQ(prompter.last().messageKind, MessageKind::Information);
    EXPECT_EQ(undoSteps(), 0);
    EXPECT_FALSE(enabled("Annuler1"));
    EXPECT_EQ(image->document().bitsPerPixel(), 24);
}

} // namespace
} // namespace px::test
