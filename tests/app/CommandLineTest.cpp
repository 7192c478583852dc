#include "app/CommandLine.h"
#include "fileio/BmpFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
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
    for (const char* part : {"pixoran3 [FICHIER]", "pixoran3 --batch ENTREE SORTIE", "--apply", "--list-commands"})
        EXPECT_NE(r.out.find(part), std::string::npos) << part;
}

TEST(CommandLine, TheEditorStartsWithoutArgumentsOrWithAFile)
{
    EXPECT_EQ(run({}).code, std::nullopt);
    EXPECT_EQ(run({"chat.bmp"}).code, std::nullopt);
    EXPECT_EQ(run({"chat.bmp", "--batch"}).code, std::nullopt);
}

class CommandLineWrongCount : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(CommandLineWrongCount, PrintsTheUsageOnStderrWithCodeTwo)
{
    const Result r = run(GetParam());
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, commandLineUsage());
}

INSTANTIATE_TEST_SUITE_P(Batch, CommandLineWrongCount,
                         ::testing::Values(std::vector<std::string>{"--batch"},
                                           std::vector<std::string>{"--batch", "a.bmp"},
                                           std::vector<std::string>{"--batch", "a.bmp", "b.bmp", "c.bmp"}));

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

TEST(CommandLine, BatchRefusesBadInputsAndLeavesNoOutput)
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
}

TEST(CommandLine, BatchRefusesOutputFormatsItCannotWrite)
{
    test::TempDir dir;
    writeBmpFile(dir.file("in.bmp"), sample());
    const Result gif = run({"--batch", dir.file("in.bmp").string(), dir.file("out.gif").string()});
    EXPECT_EQ(gif.code, 1);
    EXPECT_EQ(gif.err, "Vous ne pouvez pas enregistrer un fichier GIF.\n");
    const Result xyz = run({"--batch", dir.file("in.bmp").string(), dir.file("out.xyz").string()});
    EXPECT_EQ(xyz.code, 1);
    EXPECT_NE(xyz.err.find("Format d'enregistrement non pris en charge"), std::string::npos) << xyz.err;
    const Result folder = run({"--batch", dir.file("in.bmp").string(), dir.file("none/out.bmp").string()});
    EXPECT_EQ(folder.code, 1);
    EXPECT_NE(folder.err.find("Impossible d'écrire"), std::string::npos) << folder.err;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 1);
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

    writeText(dir.file("bad.bmp"), "BM");
    const Process bad = runProgram(dir, {"--batch", dir.file("bad.bmp").string(), dir.file("bad-out.bmp").string()});
    EXPECT_EQ(bad.code, 1);
    EXPECT_EQ(bad.err, kInvalid);
    EXPECT_FALSE(fs::exists(dir.file("bad-out.bmp")));

    const Process count = runProgram(dir, {"--batch", dir.file("in.bmp").string()});
    EXPECT_EQ(count.code, 2);
    EXPECT_EQ(count.err, commandLineUsage());
}

} // namespace
} // namespace px
