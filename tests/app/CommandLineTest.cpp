#include "app/CommandLine.h"
#include "fileio/BmpFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

namespace px {
namespace {

namespace fs = std::filesystem;

constexpr const char* kInvalid = "Le fichier est un fichier image non valide.\n";

struct Result {
    std::optional<int> code;
    std::string out;
    std::string err;
};

Result run(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    Result r;
    r.code = runCommandLine(args, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

std::string readText(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeText(const fs::path& p, const std::string& text)
{
    std::ofstream(p, std::ios::binary) << text;
}

Bitmap sample()
{
    Bitmap b(3, 2, 4);
    b.setPixelIndex(0, 0, 9);
    b.setPixelIndex(2, 1, 14);
    return b;
}

TEST(CommandLine, HelpNamesEveryForm)
{
    const Result r = run({"--help"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, "");
    for (const char* part : {"pixoran3 [FICHIER]", "pixoran3 --batch ENTREE SORTIE", "--apply", "--list-commands",
                             "--main-colour", "--background-colour", "--seed"})
        EXPECT_NE(r.out.find(part), std::string::npos) << part;
}

TEST(CommandLine, TheEditorStartsWithoutArgumentsOrWithAFile)
{
    EXPECT_EQ(run({}).code, std::nullopt);
    EXPECT_EQ(run({"chat.bmp"}).code, std::nullopt);
    EXPECT_EQ(run({"chat.bmp", "--batch"}).code, std::nullopt);
}

// Each case is a command line with its arguments separated by spaces.
class CommandLineWrongCount : public ::testing::TestWithParam<const char*> {};

TEST_P(CommandLineWrongCount, PrintsTheUsageOnStderrWithCodeTwo)
{
    std::vector<std::string> args;
    std::istringstream words(GetParam());
    for (std::string w; words >> w;)
        args.push_back(w);
    const Result r = run(args);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(r.err.ends_with(commandLineUsage())) << r.err;
    EXPECT_FALSE(r.err.starts_with("Usage")) << "the usage follows a line that says what is wrong";
}

INSTANTIATE_TEST_SUITE_P(Batch, CommandLineWrongCount,
                         ::testing::Values("--batch", "--batch a.bmp", "--batch a.bmp b.bmp c.bmp",
                                           "--apply Inconnu1 a.bmp b.bmp", "--apply Grisatre1=3 a.bmp b.bmp",
                                           "--apply Luminosit1 a.bmp b.bmp", "--apply Luminosit1=x a.bmp b.bmp",
                                           "--apply Luminosit1=1,2 a.bmp b.bmp", "--apply Teinte1=FF80 a.bmp b.bmp",
                                           "--apply Grisatre1 --seed -1 a.bmp b.bmp",
                                           "--apply Grisatre1 --main-colour red a.bmp b.bmp",
                                           "--apply Grisatre1 --frobnicate a.bmp b.bmp", "--list-commands x"));

TEST(CommandLine, BatchConvertsWhateverTheCaseOfTheExtensions)
{
    test::TempDir dir;
    for (const char* name : {"in.bmp", "in.DIB", "in.Rle"}) {
        SCOPED_TRACE(name);
        writeBmpFile(dir.file(name), sample());
        const fs::path output = dir.file(std::string("out-") + name + ".BMP");
        const Result r = run({"--batch", dir.file(name).string(), output.string()});
        EXPECT_EQ(r.code, 0);
        EXPECT_EQ(r.err, "");
        EXPECT_TRUE(readBmpFile(output) == sample());
    }
}

TEST(CommandLine, BatchRefusesBadInputsAndOutputsAndLeavesNoOutput)
{
    test::TempDir dir;
    writeText(dir.file("garbage.bmp"), "BM this is not a bitmap");
    writeBmpFile(dir.file("good.png"), sample()); // a real image, but not read by its name
    for (const char* name : {"garbage.bmp", "missing.bmp", "good.png", "noextension"}) {
        SCOPED_TRACE(name);
        const fs::path output = dir.file("out.bmp");
        const Result r = run({"--batch", dir.file(name).string(), output.string()});
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.err, kInvalid);
        EXPECT_FALSE(fs::exists(output));
    }
    // An existing output file is left as it was.
    writeText(dir.file("kept.bmp"), "old");
    EXPECT_EQ(run({"--batch", dir.file("garbage.bmp").string(), dir.file("kept.bmp").string()}).code, 1);
    EXPECT_EQ(readText(dir.file("kept.bmp")), "old");

    // Output formats it cannot write, and a missing folder.
    writeBmpFile(dir.file("in.bmp"), sample());
    for (const auto& [out, message] : {std::pair{"out.gif", "Vous ne pouvez pas enregistrer un fichier GIF.\n"},
                                       std::pair{"out.xyz", "Format d'enregistrement non pris en charge"},
                                       std::pair{"none/out.bmp", "Impossible d'écrire"}}) {
        const Result r = run({"--batch", dir.file("in.bmp").string(), dir.file(out).string()});
        EXPECT_EQ(r.code, 1) << out;
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 4) << "no output beside the inputs";
}

Bitmap pixels(std::initializer_list<Colour> colours)
{
    Bitmap b(int(colours.size()), 1, 24);
    int x = 0;
    for (Colour c : colours)
        b.setPixel(x++, 0, c);
    return b;
}

// Runs --apply ... on `input` written as in.bmp and returns the output image.
Bitmap applied(const test::TempDir& dir, const Bitmap& input, std::vector<std::string> options)
{
    writeBmpFile(dir.file("in.bmp"), input);
    options.push_back(dir.file("in.bmp").string());
    options.push_back(dir.file("out.bmp").string());
    const Result r = run(options);
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    Bitmap out = readBmpFile(dir.file("out.bmp"));
    fs::remove(dir.file("out.bmp"));
    return out;
}

TEST(CommandLineApply, RunsCommandsInOrderWithTheirDialogMappings)
{
    test::TempDir dir;
    const Colour red = makeColour(255, 0, 0);
    // Negative then grey: red -> (0, 255, 255) -> (0 + 255 + 255) div 3.
    EXPECT_EQ(applied(dir, pixels({red}), {"--apply", "Ngative1", "--apply", "Grisatre1"}).pixel(0, 0),
              makeColour(170, 170, 170));
    // "--batch" may lead; the track bar position goes through the dialog's
    // mapping: k + (255 - k) * 51 div 255.
    const Bitmap lum = applied(dir, pixels({makeColour(100, 0, 255)}), {"--batch", "--apply", "Luminosit1=51"});
    EXPECT_EQ(lum.pixel(0, 0), makeColour(131, 51, 255));
}

TEST(CommandLineApply, ColoursComeFromTheOptionsAsRrggbb)
{
    test::TempDir dir;
    const Colour orange = makeColour(0xFF, 0x80, 0x00);
    // "Changer une couleur": pixels of the main colour become the background colour.
    const Bitmap out = applied(dir, pixels({orange, kBlack}),
                               {"--apply", "Changercol1", "--main-colour", "FF8000", "--background-colour", "0000ff"});
    EXPECT_EQ(out.pixel(0, 0), makeColour(0, 0, 255));
    EXPECT_EQ(out.pixel(1, 0), kBlack);
    // Defaults: main black, background white.
    EXPECT_EQ(applied(dir, pixels({kBlack}), {"--apply", "Changercol1"}).pixel(0, 0), kWhite);
}

TEST(CommandLineApply, SeedMakesNoiseRepeatExactly)
{
    test::TempDir dir;
    Bitmap grey(16, 16, 24);
    grey.fill(makeColour(128, 128, 128));
    const Bitmap a = applied(dir, grey, {"--apply", "Bruit1", "--seed", "1234"});
    const Bitmap b = applied(dir, grey, {"--seed", "1234", "--apply", "Bruit1"});
    const Bitmap c = applied(dir, grey, {"--apply", "Bruit1", "--seed", "4321"});
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(a == c);
    EXPECT_FALSE(a == grey);
}

TEST(CommandLineApply, RoutineErrorsExitOneAndWriteNothing)
{
    test::TempDir dir;
    writeBmpFile(dir.file("in.bmp"), pixels({kWhite}));
    const fs::path out = dir.file("out.bmp");
    const Result r = run({"--apply", "Filtre1=0,0,0,0,1,0,0,0,0,0", dir.file("in.bmp").string(), out.string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err, "");
    EXPECT_FALSE(fs::exists(out));
    // An unreadable input: the invalid-file message and exit 1, whatever the commands.
    const Result bad = run({"--apply", "Grisatre1", dir.file("missing.bmp").string(), out.string()});
    EXPECT_EQ(bad.code, 1);
    EXPECT_EQ(bad.err, kInvalid);
}

TEST(CommandLineApply, ListCommandsDocumentsEveryEffectWithItsValues)
{
    const Result r = run({"--list-commands"});
    ASSERT_EQ(r.code, 0);
    std::map<std::string, std::vector<std::string>> lines;
    std::istringstream in(r.out);
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> fields;
        std::istringstream parts(line);
        for (std::string f; std::getline(parts, f, '\t');)
            fields.push_back(f);
        ASSERT_GE(fields.size(), 2u) << line;
        fields.resize(3);
        lines[fields[0]] = fields;
    }
    EXPECT_EQ(lines["Grisatre1"], (std::vector<std::string>{"Grisatre1", "Grisâtre", ""}));
    EXPECT_EQ(lines["Luminosit1"], (std::vector<std::string>{"Luminosit1", "Luminosité...", "POSITION(0..200)"}));
    EXPECT_EQ(lines["Teinte1"][2], "COULEUR(RRGGBB)");
    EXPECT_NE(lines["Filtre1"][2].find("DIVISOR"), std::string::npos) << lines["Filtre1"][2];
}

// The real program, started without any display.
struct Process {
    int code = -1;
    std::string out;
    std::string err;
};

Process runProgram(const test::TempDir& dir, const std::vector<std::string>& args)
{
    std::string command =
        "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" + std::string(PIXORAN3_EXECUTABLE) + "'";
    for (const auto& a : args)
        command += " '" + a + "'";
    const fs::path out = dir.file("stdout.txt"), err = dir.file("stderr.txt");
    command += " >'" + out.string() + "' 2>'" + err.string() + "'";
    const int status = std::system(command.c_str());
    Process p;
    p.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    p.out = readText(out);
    p.err = readText(err);
    fs::remove(out);
    fs::remove(err);
    return p;
}

TEST(CommandLineProgram, RunsWithoutADisplay)
{
    test::TempDir dir;
    const Process help = runProgram(dir, {"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_EQ(help.out, commandLineUsage());

    writeBmpFile(dir.file("in.bmp"), sample());
    const Process ok = runProgram(dir, {"--batch", dir.file("in.bmp").string(), dir.file("out.bmp").string()});
    EXPECT_EQ(ok.code, 0) << ok.err;
    EXPECT_TRUE(readBmpFile(dir.file("out.bmp")) == sample());

    const Process count = runProgram(dir, {"--batch", dir.file("in.bmp").string()});
    EXPECT_EQ(count.code, 2);
    EXPECT_TRUE(count.err.ends_with(commandLineUsage())) << count.err;
}

} // namespace
} // namespace px
