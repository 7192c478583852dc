// "Enregistrer la macro...": the commands applied in the editor, replayed by
// the batch command line, give the editor's pixels.
#include "app/MainWindowFixture.h"
#include "batch/CommandLine.h"
#include "fileio/BmpFile.h"

#include <QSlider>

#include <random>
#include <sstream>

namespace px::test {
namespace {

using MacroTest = MainWindowFixture;

TEST_F(MacroTest, TenCommandsReplayToTheEditorsPixels)
{
    const Bitmap original = noise(23, 14, 11);
    ImageWindow* image = open(original);
    session.random.setState(987654321);
    session.mainColour = makeColour(200, 10, 10);

    // Through the menus: a random command, a track-bar dialog at 50, a
    // colour-choice command, and an effect that is undone again.
    trigger("Bruit1");
    onDialog(pressing("Button1", [](QDialog& d) { d.findChild<QSlider*>(QStringLiteral("TrackBar1"))->setValue(50); }));
    trigger("Luminosit1");
    prompter.queueColour(makeColour(40, 90, 200));
    trigger("Colorisation1");
    trigger("Emboss1");
    trigger("Annuler1");
    for (const auto& [name, values] :
         std::vector<std::pair<const char*, std::vector<int>>>{{"Ngative1", {}},
                                                               {"Bruitcouleur1", {}},
                                                               {"Saturation3", {120}},
                                                               {"AjusterRVB1", {10, -20, 30}},
                                                               {"Filtre1", {0, -1, 0, -1, 5, -1, 0, -1, 0, 1}},
                                                               {"Changercol1", {}},
                                                               {"Cycle1", {}}})
        ASSERT_TRUE(window->runEffect(name, values)) << name;
    EXPECT_EQ(image->macroRecord().steps().size(), 10u);

    prompter.queueFile(dir.file("macro.txt").string());
    trigger("Enregistrerlamacro1");
    const std::string macro = readText(dir.file("macro.txt"));
    EXPECT_EQ(macro.find("Emboss1"), std::string::npos) << "an undone step is left out";
    EXPECT_NE(macro.find("--apply Luminosit1=50\n"), std::string::npos) << macro;
    EXPECT_NE(macro.find("--seed 987654321\n--apply Bruit1\n"), std::string::npos) << macro;

    writeBmpFile(dir.file("in.bmp"), original);
    std::ostringstream out, err;
    const auto code = runCommandLine(
        {"--macro", dir.file("macro.txt").string(), dir.file("in.bmp").string(), dir.file("out.bmp").string()}, out,
        err);
    ASSERT_EQ(code, 0) << err.str();
    EXPECT_TRUE(readBmpFile(dir.file("out.bmp")) == image->document());
}

TEST_F(MacroTest, ToolStrokesAreNamedAndTheItemFollowsTheImage)
{
    MainWindow& w = create();
    EXPECT_TRUE(w.action("Enregistrerlamacro1")->isVisible());
    EXPECT_FALSE(enabled("Enregistrerlamacro1"));
    ImageWindow* image = open(noise(4, 4, 11));
    EXPECT_TRUE(enabled("Enregistrerlamacro1"));
    image->saveUndoState(); // what a tool does before its stroke
    trigger("Ngative1");
    prompter.queueFile(dir.file("m.txt").string());
    trigger("Enregistrerlamacro1");
    const std::string macro = readText(dir.file("m.txt"));
    EXPECT_NE(macro.find("# (un tracé d'outil de dessin"), std::string::npos) << macro;
    EXPECT_NE(macro.find("--apply Ngative1\n"), std::string::npos) << macro;
}

} // namespace
} // namespace px::test
