// Scanning through SANE's "test" backend, the virtual device SANE ships for
// front-end tests: SANE_CONFIG_DIR names a folder whose dll.conf lists only
// "test" and whose test.conf sets its frame. 80 x 100 mm at 50 dpi is
// 157 x 196 pixels (157.48 and 196.85, cut). Where scanimage is installed,
// the frame is also compared pixel by pixel with its scan of the same device.
// Skips where SANE cannot be loaded.
#include "output/SaneScanner.h"
#include "OutputDoubles.h"

#include <cstdio>
#include <fstream>

namespace px::test {
namespace {

struct SaneCase {
    const char* name;
    const char* settings; // test.conf lines
};

void PrintTo(const SaneCase& c, std::ostream* os)
{
    *os << c.name;
}

class SaneTestBackend : public OutputFixture, public ::testing::WithParamInterface<SaneCase> {
protected:
    void SetUp() override
    {
        OutputFixture::SetUp();
        std::ofstream(dir.file("dll.conf")) << "test\n";
        std::ofstream(dir.file("test.conf")) << "number_of_devices 1\nresolution 50.0\nbr_x 80.0\nbr_y 100.0\n"
                                             << GetParam().settings;
        setenv("SANE_CONFIG_DIR", dir.path().c_str(), 1);
        SaneScanner probe;
        if (!probe.available())
            GTEST_SKIP() << "SANE cannot be loaded";
    }
    void TearDown() override
    {
        unsetenv("SANE_CONFIG_DIR");
        OutputFixture::TearDown();
    }
};

TEST_P(SaneTestBackend, OneFrameInANewWindow)
{
    createWithDoubles(false);
    window->outputServices().scanners = std::make_unique<SaneScanner>();
    trigger("Acqurir1");
    EXPECT_TRUE(prompter.calls().empty()) << prompter.last().text;
    ASSERT_EQ(openWindows(), 1);
    const Bitmap& frame = window->activeImageWindow()->document();
    EXPECT_EQ(frame.width(), 157);
    EXPECT_EQ(frame.height(), 196);
    EXPECT_EQ(window->activeImageWindow()->windowTitle(), QStringLiteral("Image"));

    if (std::system("command -v scanimage >/dev/null 2>&1") != 0)
        return;
    const std::filesystem::path pnm = dir.file("scan.pnm");
    const std::string command = "scanimage -d test:0 --format=pnm >'" + pnm.string() + "' 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const Bitmap expected = parsePnm(readText(pnm));
    EXPECT_TRUE(frame == expected) << dumpMismatch(std::string("sane_") + GetParam().name, frame, expected);
}

INSTANTIATE_TEST_SUITE_P(Modes, SaneTestBackend,
                         ::testing::Values(SaneCase{"Colour", "mode Color\ntest-picture \"Color pattern\"\n"},
                                           SaneCase{"ThreePass",
                                                    "mode Color\nthree-pass true\ntest-picture \"Color pattern\"\n"},
                                           SaneCase{"Grey", "mode Gray\ntest-picture \"Grid\"\n"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SaneDevices, ListedFromTheConfiguration)
{
    TempDir dir;
    std::ofstream(dir.file("dll.conf")) << "test\n";
    std::ofstream(dir.file("test.conf")) << "number_of_devices 2\n";
    setenv("SANE_CONFIG_DIR", dir.path().c_str(), 1);
    SaneScanner sane;
    if (!sane.available())
        GTEST_SKIP() << "SANE cannot be loaded";
    const std::vector<ScannerDevice> devices = sane.devices();
    unsetenv("SANE_CONFIG_DIR");
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[0].name, "test:0");
    EXPECT_EQ(devices[1].name, "test:1");
    EXPECT_NE(devices[0].description.find("frontend-tester"), std::string::npos);
    EXPECT_THROW(sane.scan("test:9"), ScanError);
}

} // namespace
} // namespace px::test
