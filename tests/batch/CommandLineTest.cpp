#include "batch/CommandLine.h"
#include "fileio/BmpFile.h"
#include "support/TestSupport.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
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
    for (const char* part : {"pixoran3 [FICHIER...]", "pixoran3 --batch ENTREE SORTIE", "--apply", "--list-commands",
                             "--main-colour", "--background-colour", "--seed"})
        EXPECT_NE(r.out.find(part), std::string::npos) << part;
}

// The toolkit's own options (their "--" forms listed in the README) and
// anything after "--" are the editor's.
TEST(CommandLine, TheEditorStartsWithoutArgumentsOrWithAFile)
{
    for (const std::vector<std::string>& args : {std::vector<std::string>{},
                                                 {"chat.bmp"},
                                                 {"chat.bmp", "--batch"},
                                                 {"--platform", "offscreen", "chat.bmp"},
                                                 {"-platform", "offscreen"},
                                                 {"--style=fusion", "--reverse", "chat.bmp"},
                                                 {"--", "--x.png"},
                                                 {"chat.bmp", "--", "--bacth"}})
        EXPECT_EQ(run(args).code, std::nullopt) << ::testing::PrintToString(args);
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
                                           "--apply Grisatre1 --frobnicate a.bmp b.bmp", "--list-commands x",
                                           // Options that are neither ours nor the toolkit's, wherever they are.
                                           "--bacth in.bmp out.png", "chat.bmp --bacth", "--platform",
                                           "--platform offscreen --frobnicate", "--batch a.bmp -- b.bmp c.bmp",
                                           // '+' and a sign after it.
                                           "--apply Grisatre1 --seed +-1 a.bmp b.bmp",
                                           "--apply Luminosit1=+-5 a.bmp b.bmp"));

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

// A 4-plane PCX file, a layout the reader does not take: it gives an empty
// image, which the batch forms call invalid.
TEST(CommandLine, AnInputReadAsAnEmptyImageIsInvalid)
{
    test::TempDir dir;
    std::string pcx(130, '\0');
    pcx[0] = 10, pcx[1] = 5, pcx[2] = 1, pcx[3] = 1, pcx[65] = 4, pcx[66] = 2, pcx[68] = 1;
    test::writeText(dir.file("quatre.pcx"), pcx);
    const Result r = run({"--batch", dir.file("quatre.pcx").string(), dir.file("out.bmp").string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, kInvalid);
    EXPECT_FALSE(fs::exists(dir.file("out.bmp")));
}

TEST(CommandLine, BatchRefusesBadInputsAndOutputsAndLeavesNoOutput)
{
    test::TempDir dir;
    test::writeText(dir.file("garbage.bmp"), "BM this is not a bitmap");
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
    test::writeText(dir.file("kept.bmp"), "old");
    EXPECT_EQ(run({"--batch", dir.file("garbage.bmp").string(), dir.file("kept.bmp").string()}).code, 1);
    EXPECT_EQ(test::readText(dir.file("kept.bmp")), "old");

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

// Position 0 applies nothing, as the dialog's OK at 0: an 8-bit image stays
// 8-bit with its palette. Another command after it still runs.
TEST(CommandLineApply, PositionZeroChangesNothingNotEvenThePixelFormat)
{
    test::TempDir dir;
    Bitmap indexed = sample();
    indexed.setPixelFormat(8);
    const Bitmap same = applied(dir, indexed, {"--apply", "Luminosit1=0", "--apply", "Saturation3=+0"});
    EXPECT_EQ(same.bitsPerPixel(), 8);
    EXPECT_TRUE(same == indexed);
    const Bitmap negative = applied(dir, indexed, {"--apply", "Luminosit1=0", "--apply", "Ngative1"});
    EXPECT_EQ(negative.bitsPerPixel(), 24);
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
    const Bitmap plus = applied(dir, grey, {"--apply", "Bruit1", "--seed", "+1234"});
    EXPECT_TRUE(a == b);
    EXPECT_TRUE(a == plus) << "a leading + as in the effect values";
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
    EXPECT_NE(lines["Filtre1"][2].find("DIVISOR(-2147483648..2147483647 pris modulo 65536"), std::string::npos)
        << lines["Filtre1"][2];
    EXPECT_EQ(std::count(lines["Filtre1"][2].begin(), lines["Filtre1"][2].end(), ','), 9) << "one comma per value";
    for (const char* line :
         {"Rotation3\tRotation...\tDIRECTION(Droite|Gauche),DEGRES(90|180|270|Libre),[ANGLE(-2147483648..2147483647)]"
          "\n",
          "Redimensionner1\tRedimensionner...\tLARGEUR(1..65535),HAUTEUR(1..65535)\n",
          "Ajouterunebordure1\tAjouter une bordure...\tHAUT(0..5000),BAS(0..5000),GAUCHE(0..5000),DROITE(0..5000)\n",
          "Construiredegrader\tConstruire dégrader...\tSTYLE(Horizontal|Vertical|Elliptic|Rectangle|VertCentre|"
          "HorizCentre|Radial1|Radial2),[DEBUT(RRGGBB)],[FIN(RRGGBB)]\n",
          "Bordurecou1\tDeux couleurs...\tSTYLE(Transparent|Solide),EPAISSEUR(1..100),"
          "COULEURS(Principale - fond|Fond - principale)\n",
          "Bouton3\tBouton...\tTRANSPARENCE(0..250),TAILLE(0..100)\n", "Plasma1\tPlasma\t\n",
          "Tordre3\tTordre...\tPOSITION(0..300)\n", "Mirage3\tMirage...\tPOSITION(0..20)\n",
          "Allucination2\tHallucination...\tPOSITION(0..200)\n", "Mosaque2\tMosaïque...\tPOSITION(0..50)\n",
          "Fisheye1\tFisheye\t\n"})
        EXPECT_NE(r.out.find(line), std::string::npos) << line;

    // A stream that refuses the text: exit 1 with a message.
    std::ostream broken(nullptr);
    std::ostringstream err;
    for (const char* option : {"--list-commands", "--help"}) {
        err.str("");
        EXPECT_EQ(runCommandLine({option}, broken, err), 1) << option;
        EXPECT_EQ(err.str(), "Impossible d'écrire sur la sortie standard\n");
    }
}

// Starts the program with `args` in `folder`, its output to `out` and its
// messages to `errFile`; `env` entries are NAME=VALUE.
pid_t startProgram(const fs::path& folder, const std::vector<std::string>& args, const fs::path& out,
                   const fs::path& errFile, const std::vector<std::string>& env = {})
{
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    if (::chdir(folder.c_str()) != 0)
        ::_exit(126);
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    ::unsetenv("QT_QPA_PLATFORM");
    for (const std::string& e : env)
        ::putenv(const_cast<char*>(e.c_str()));
    const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int e = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (o < 0 || e < 0)
        ::_exit(126);
    ::dup2(o, 1);
    ::dup2(e, 2);
    std::vector<char*> argv{const_cast<char*>(PIXORAN3_EXECUTABLE)};
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(PIXORAN3_EXECUTABLE, argv.data());
    ::_exit(127);
}

// The real program, started without any display, run to its end.
struct Process {
    int code = -1;
    std::string out;
    std::string err;
};

Process runProgram(const test::TempDir& dir, const std::vector<std::string>& args)
{
    const pid_t pid = startProgram(dir.path(), args, dir.file("stdout.txt"), dir.file("stderr.txt"));
    int status = 0;
    ::waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, test::readText(dir.file("stdout.txt")),
            test::readText(dir.file("stderr.txt"))};
}

// Full disk on standard output: exit 1 with the system's reason.
TEST(CommandLineProgram, AFailedWriteToStandardOutputExitsOne)
{
    test::TempDir dir;
    for (const char* option : {"--list-commands", "--help"}) {
        const pid_t pid = startProgram(dir.path(), {option}, "/dev/full", dir.file("err.txt"));
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << option << " " << status;
        EXPECT_EQ(test::readText(dir.file("err.txt")),
                  "Impossible d'écrire sur la sortie standard (No space left on device)\n");
    }
}

class CommandLineInterrupted : public ::testing::TestWithParam<int> {};

// The program is killed while it writes a large PNG: it dies of the signal,
// and neither the output nor its temporary file is left.
TEST_P(CommandLineInterrupted, LeavesNoTemporaryFileBehind)
{
    test::TempDir dir;
    writeBmpFile(dir.file("in.bmp"), test::noise(2500, 2500, 7));
    const pid_t pid =
        startProgram(dir.path(), {"--batch", "in.bmp", "out.png"}, dir.file("out.txt"), dir.file("err.txt"));
    // The temporary file once some of the image is in it.
    const auto temporary = [&]() -> std::optional<fs::path> {
        for (const auto& entry : fs::directory_iterator(dir.path())) {
            std::error_code ec;
            if (entry.path().filename().string().starts_with(".out.png.pixoran3-") &&
                fs::file_size(entry.path(), ec) > 0 && !ec)
                return entry.path();
        }
        return std::nullopt;
    };
    std::optional<fs::path> seen;
    int status = 0;
    bool ended = false;
    while (!seen && !ended) {
        seen = temporary();
        ended = ::waitpid(pid, &status, WNOHANG) == pid;
        if (!seen && !ended)
            ::usleep(200);
    }
    ASSERT_TRUE(seen) << "the program ended before its save was seen";
    ::kill(pid, GetParam());
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == GetParam()) << status;
    EXPECT_FALSE(fs::exists(*seen));
    EXPECT_FALSE(fs::exists(dir.file("out.png")));
}

INSTANTIATE_TEST_SUITE_P(Signals, CommandLineInterrupted, ::testing::Values(SIGINT, SIGTERM, SIGHUP),
                         [](const auto& info) { return std::string(sigabbrev_np(info.param)); });

// The editor installs the same clean-up: its signal dispositions show the
// three signals caught.
TEST(CommandLineProgram, TheEditorCatchesTheInterruptingSignals)
{
    test::TempDir dir;
    const std::string ini = "PIXORAN3_INI=" + dir.file("Pixoran3.ini").string();
    const pid_t pid =
        startProgram(dir.path(), {}, dir.file("out.txt"), dir.file("err.txt"), {"QT_QPA_PLATFORM=offscreen", ini});
    const auto caught = [&]() -> std::uint64_t {
        std::ifstream status("/proc/" + std::to_string(pid) + "/status");
        for (std::string line; std::getline(status, line);)
            if (line.starts_with("SigCgt:"))
                return std::stoull(line.substr(7), nullptr, 16);
        return 0;
    };
    const std::uint64_t wanted = (1ull << (SIGINT - 1)) | (1ull << (SIGTERM - 1)) | (1ull << (SIGHUP - 1));
    std::uint64_t mask = 0;
    for (int i = 0; i < 500 && (mask & wanted) != wanted; ++i) {
        ::usleep(10000);
        mask = caught();
    }
    EXPECT_EQ(mask & wanted, wanted);
    ::kill(pid, SIGTERM);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
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

    // A mistyped first option is an error, not an image for the editor.
    const Process typo = runProgram(dir, {"--bacth", dir.file("in.bmp").string(), dir.file("out.png").string()});
    EXPECT_EQ(typo.code, 2);
    EXPECT_EQ(typo.err, "option inconnue : --bacth\n" + commandLineUsage());

    // "--" ends the options: names that start with "--" are files after it.
    writeBmpFile(dir.file("--in.bmp"), sample());
    const Process dashes = runProgram(dir, {"--batch", "--", "--in.bmp", "--out.bmp"});
    EXPECT_EQ(dashes.code, 0) << dashes.err;
    EXPECT_TRUE(readBmpFile(dir.file("--out.bmp")) == sample());
}

} // namespace
} // namespace px
