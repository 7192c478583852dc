// Many files in one run (--output-dir, --jobs) and macro files (--macro).
#include "batch/BatchRequest.h"
#include "batch/BatchRun.h"
#include "batch/CommandLine.h"
#include "batch/Macro.h"
#include "fileio/BmpFile.h"
#include "fileio/PngFile.h"
#include "registry/EffectRegistry.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace px {
namespace {

namespace fs = std::filesystem;

struct Result {
    int code = -1;
    std::string err;
};

Result run(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const std::optional<int> code = runCommandLine(args, out, err);
    return {code.value_or(-1), err.str()};
}

class BatchFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(dir.file("out1"));
        fs::create_directories(dir.file("out2"));
        for (int i = 0; i < 5; ++i) {
            inputs.push_back(dir.file("image" + std::to_string(i) + ".bmp").string());
            writeBmpFile(inputs.back(), test::noise(17 + i, 9 + 2 * i, unsigned(i)));
        }
    }
    std::vector<std::string> folderArgs(const std::string& out, const std::string& jobs)
    {
        std::vector<std::string> args{"--apply", "Bruit1", "--apply",      "Luminosit1=40",
                                      "--seed",  "77",     "--output-dir", dir.file(out).string(),
                                      "--jobs",  jobs};
        args.insert(args.end(), inputs.begin(), inputs.end());
        return args;
    }

    test::TempDir dir;
    std::vector<std::string> inputs;
};

// Each file comes out as if processed alone, whatever the number of
// workers: its generator starts from the seed.
TEST_F(BatchFolder, OutputsAreNamedAfterTheirInputsAndIdenticalWhateverTheWorkers)
{
    ASSERT_EQ(run(folderArgs("out1", "1")).code, 0);
    ASSERT_EQ(run(folderArgs("out2", "2")).code, 0);
    for (int i = 0; i < 5; ++i) {
        const std::string name = "image" + std::to_string(i) + ".bmp";
        const std::string one = test::readText(dir.file("out1") / name);
        ASSERT_FALSE(one.empty()) << name;
        EXPECT_EQ(one, test::readText(dir.file("out2") / name)) << name;
        const Result alone = run({"--apply", "Bruit1", "--apply", "Luminosit1=40", "--seed", "77",
                                  inputs[std::size_t(i)], dir.file("alone.bmp").string()});
        ASSERT_EQ(alone.code, 0);
        EXPECT_EQ(one, test::readText(dir.file("alone.bmp"))) << name;
    }
}

TEST_F(BatchFolder, AFileThatFailsIsNamedAndTheOthersGoOn)
{
    std::ofstream(dir.file("broken.bmp")) << "not an image";
    const Result r = run({"--batch", "--output-format", "png", "--output-dir", dir.file("out1").string(),
                          dir.file("broken.bmp").string(), inputs[0], inputs[1]});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find(dir.file("broken.bmp").string() + " : Le fichier est un fichier image non valide."),
              std::string::npos)
        << r.err;
    EXPECT_FALSE(fs::exists(dir.file("out1") / "broken.png"));
    EXPECT_TRUE(readPngFile(dir.file("out1") / "image0.png") == readBmpFile(inputs[0]));
    EXPECT_TRUE(fs::exists(dir.file("out1") / "image1.png"));
}

TEST_F(BatchFolder, RefusesTwoInputsOfOneNameAMissingFolderAndStrayOptions)
{
    fs::create_directories(dir.file("other"));
    fs::copy_file(inputs[0], dir.file("other") / "image0.bmp");
    const Result clash = run(
        {"--batch", "--output-dir", dir.file("out1").string(), inputs[0], (dir.file("other") / "image0.bmp").string()});
    EXPECT_EQ(clash.code, 1);
    EXPECT_NE(clash.err.find("même nom de sortie"), std::string::npos) << clash.err;
    EXPECT_EQ(run({"--batch", "--output-dir", dir.file("missing").string(), inputs[0]}).code, 1);
    EXPECT_EQ(run({"--batch", "--jobs", "2", inputs[0], dir.file("x.bmp").string()}).code, 2);
    EXPECT_EQ(run({"--batch", "--output-dir", dir.file("out1").string(), "--jobs", "0", inputs[0]}).code, 2);
    EXPECT_EQ(outputNameFor("/a/b/photo.tif", "png"), "photo.png");
    EXPECT_EQ(outputNameFor("photo.tif", ""), "photo.tif");
}

// Every value kind is written so that it reads back the same: integers,
// colours as RRGGBB, choices by name.
TEST(Macro, StepsReadBackAsWrittenForEveryRow)
{
    const EffectRegistry registry = makeEffectRegistry();
    for (const EffectCommand& row : registry.all()) {
        std::vector<int> values;
        for (const EffectParameter& p : row.parameters)
            values.push_back(p.kind == EffectParameter::Kind::Colour   ? 0x12AB34
                             : p.kind == EffectParameter::Kind::Choice ? int(p.choices.size()) - 1
                                                                       : std::clamp(-3, p.minimum, p.maximum));
        const BatchStep step = parseStep(registry, stepText(row, values));
        EXPECT_EQ(step.command, &row);
        EXPECT_EQ(step.values, values) << stepText(row, values);
    }
}

TEST(Macro, SeedsAndColoursApplyToTheStepsThatFollowThem)
{
    const EffectRegistry registry = makeEffectRegistry();
    const std::vector<BatchStep> steps = parseMacro(
        registry, "# titre\n\n--main-colour FF0000\n--seed 9\n  --apply Bruit1  \r\n--apply Teinte1=00FF80\n");
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0].seed, 9u);
    EXPECT_EQ(steps[0].mainColour, makeColour(255, 0, 0));
    EXPECT_FALSE(steps[1].seed);
    EXPECT_EQ(steps[1].values, std::vector<int>{int(makeColour(0, 255, 0x80))});
    const std::string text = macroText({steps[0], BatchStep{.note = "un tracé d'outil"}, steps[1]}, "titre");
    EXPECT_NE(text.find("# (un tracé d'outil)"), std::string::npos);
    const std::vector<BatchStep> again = parseMacro(registry, text);
    ASSERT_EQ(again.size(), 2u);
    EXPECT_EQ(again[0].seed, 9u);
    EXPECT_EQ(again[0].mainColour, makeColour(255, 0, 0));
    for (const char* bad : {"--apply Inconnu1", "--seed -1", "--main-colour rouge", "--output-dir x", "Bruit1"})
        try {
            parseMacro(registry, std::string("# a\n") + bad + "\n");
            ADD_FAILURE() << bad;
        } catch (const UsageError& e) {
            EXPECT_TRUE(e.message.starts_with("macro, ligne 2 : ")) << e.message;
        }
}

// Undone steps leave the record until redone; a new step forgets them.
TEST(Macro, RecordFollowsUndoAndRedo)
{
    const EffectRegistry registry = makeEffectRegistry();
    MacroRecord record;
    auto apply = [&](const char* name) {
        record.snapshotTaken("");
        record.setLast(parseStep(registry, name));
    };
    apply("Ngative1");
    apply("Cycle1");
    record.snapshotTaken("un tracé d'outil");
    record.undone();
    record.undone();
    record.redone();
    ASSERT_EQ(record.steps().size(), 2u);
    EXPECT_EQ(record.steps()[1].command->name, "Cycle1");
    apply("Bleu1");
    record.redone(); // nothing left to redo: the stroke was forgotten
    ASSERT_EQ(record.steps().size(), 3u);
    EXPECT_EQ(record.steps()[2].command->name, "Bleu1");
}

// A macro replays exactly as the same options on the command line.
TEST(Macro, ReplaysLikeTheSameOptions)
{
    test::TempDir dir;
    const std::string input = dir.file("in.bmp").string();
    writeBmpFile(input, test::noise(13, 7, 5));
    std::ofstream(dir.file("m.txt")) << "--seed 4\n--apply Bruitcouleur1\n--apply Saturation3=120\n--apply Ngative1\n";
    ASSERT_EQ(run({"--macro", dir.file("m.txt").string(), input, dir.file("a.bmp").string()}).code, 0);
    ASSERT_EQ(run({"--seed", "4", "--apply", "Bruitcouleur1", "--apply", "Saturation3=120", "--apply", "Ngative1",
                   input, dir.file("b.bmp").string()})
                  .code,
              0);
    EXPECT_EQ(test::readText(dir.file("a.bmp")), test::readText(dir.file("b.bmp")));
    const Result missing = run({"--macro", dir.file("none.txt").string(), input, dir.file("c.bmp").string()});
    EXPECT_EQ(missing.code, 2);
    EXPECT_NE(missing.err.find("fichier macro illisible"), std::string::npos);
}

} // namespace
} // namespace px
