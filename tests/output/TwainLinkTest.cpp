// The TWAIN link against the fake manager library: the triplets it sends in
// each case, the states it passes, the images it keeps and the errors it
// reports. Each log line is 'M' (to the manager) or 'D' (to the source),
// then data group / data type / message in hexadecimal.
#include "output/TwainLink.h"
#include "FakeTwain.h"
#include "output/PackedDib.h"
#include "output/TwainLibrary.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace px {
namespace {

using test::FakeTwain;

class RecordingHost : public TwainHost {
public:
    bool isWindow(std::uintptr_t window) override { return window == 0x51; }
    std::uintptr_t createProxyWindow() override
    {
        ++proxies;
        return proxyFails ? 0 : 0x77;
    }
    void destroyProxyWindow(std::uintptr_t window) override { destroyed.push_back(window); }
    void setWindowEnabled(std::uintptr_t, bool enabled) override { enabledStates.push_back(enabled); }
    bool processEvents() override
    {
        ++turns;
        return turns <= quitAfterTurns;
    }
    void reportError(const std::string& text) override { errors.push_back(text); }

    bool proxyFails = false;
    int proxies = 0;
    int turns = 0;
    int quitAfterTurns = 1000;
    std::vector<std::uintptr_t> destroyed;
    std::vector<bool> enabledStates;
    std::vector<std::string> errors;
};

// The triplets, by name.
constexpr const char* OpenDsm = "M1/4/301\n";
constexpr const char* CloseDsm = "M1/4/302\n";
constexpr const char* OpenDs = "M1/3/401\n";
constexpr const char* CloseDs = "M1/3/402\n";
constexpr const char* UserSelect = "M1/3/403\n";
constexpr const char* EnableDs = "D1/9/502\n";
constexpr const char* DisableDs = "D1/9/501\n";
constexpr const char* ProcessEvent = "D1/2/601\n";
constexpr const char* NativeGet = "D2/104/1\n";
constexpr const char* EndXfer = "D1/5/701\n";
constexpr const char* ResetXfers = "D1/5/7\n";

std::string seq(std::initializer_list<const char*> lines)
{
    std::string s;
    for (const char* l : lines)
        s += l;
    return s;
}

struct AcquireCase {
    const char* name;
    FakeTwainScript script;
    std::string triplets;
    int images;
    std::vector<std::string> errors;
};

FakeTwainScript script(std::initializer_list<std::pair<int FakeTwainScript::*, int>> fields)
{
    FakeTwainScript s;
    for (auto [field, value] : fields)
        s.*field = value;
    return s;
}

void PrintTo(const AcquireCase& c, std::ostream* os)
{
    *os << c.name;
}

class TwainAcquire : public ::testing::TestWithParam<AcquireCase> {
protected:
    FakeTwain fake;
    TwainLibrary library;
    RecordingHost host;
};

TEST_P(TwainAcquire, SendsTheTripletsInOrderAndEndsInStateOne)
{
    const AcquireCase& c = GetParam();
    ASSERT_TRUE(fake.loaded());
    fake.script(c.script);
    TwainLink link(library, host);
    link.acquireNativeImages(0, 0);
    EXPECT_EQ(fake.log(), c.triplets);
    EXPECT_EQ(link.imageCount(), c.images);
    EXPECT_EQ(host.errors, c.errors);
    EXPECT_EQ(link.state(), 1);
    EXPECT_EQ(host.proxies, 1);
    EXPECT_EQ(host.destroyed, std::vector<std::uintptr_t>{0x77});
}

const std::vector<std::string> kNoErrors;
const std::vector<std::string> kLastError{TwainLink::kLastError};

INSTANTIATE_TEST_SUITE_P(
    Cases, TwainAcquire,
    ::testing::Values(
        AcquireCase{"OneImage", script({}),
                    seq({OpenDsm, OpenDs, EnableDs, ProcessEvent, NativeGet, EndXfer, DisableDs, CloseDs, CloseDsm}), 1,
                    kNoErrors},
        // Unclaimed events go to the program first; three pending images are
        // transferred in one batch.
        AcquireCase{"ThreeImagesAfterIdleEvents",
                    script({{&FakeTwainScript::idleEvents, 2}, {&FakeTwainScript::images, 3}}),
                    seq({OpenDsm, OpenDs, EnableDs, ProcessEvent, ProcessEvent, ProcessEvent, NativeGet, EndXfer,
                         NativeGet, EndXfer, NativeGet, EndXfer, DisableDs, CloseDs, CloseDsm}),
                    3, kNoErrors},
        AcquireCase{"TwoImages", script({{&FakeTwainScript::images, 2}}),
                    seq({OpenDsm, OpenDs, EnableDs, ProcessEvent, NativeGet, EndXfer, NativeGet, EndXfer, DisableDs,
                         CloseDs, CloseDsm}),
                    2, kNoErrors},
        // The user closes the source's dialog: the source is disabled at its
        // request and not a second time in the teardown.
        AcquireCase{"Cancelled", script({{&FakeTwainScript::closeRequest, 1}, {&FakeTwainScript::idleEvents, 1}}),
                    seq({OpenDsm, OpenDs, EnableDs, ProcessEvent, ProcessEvent, DisableDs, CloseDs, CloseDsm}), 0,
                    kNoErrors},
        // A transfer cancelled by the source is still ended; the loop goes on
        // until the source asks to close, as nothing was stored.
        AcquireCase{"TransferCancelled", script({{&FakeTwainScript::cancelTransfer, 0}}),
                    seq({OpenDsm, OpenDs, EnableDs, ProcessEvent, NativeGet, EndXfer, ProcessEvent, DisableDs, CloseDs,
                         CloseDsm}),
                    0, kNoErrors},
        // A failed transfer resets the pending transfers instead of asking
        // again for ever.
        AcquireCase{"TransferFails", script({{&FakeTwainScript::failTransfer, 1}, {&FakeTwainScript::images, 3}}),
                    seq({OpenDsm, OpenDs, EnableDs, ProcessEvent, NativeGet, EndXfer, NativeGet, ResetXfers, DisableDs,
                         CloseDs, CloseDsm}),
                    1, kNoErrors},
        AcquireCase{
            "OpenDsmFails", script({{&FakeTwainScript::failOpenDsm, 1}}), seq({OpenDsm}), 0, {TwainLink::kOpenFailed}},
        AcquireCase{"OpenDsFails", script({{&FakeTwainScript::failOpenDs, 1}}), seq({OpenDsm, OpenDs, CloseDsm}), 0,
                    kLastError},
        AcquireCase{"EnableDsFails", script({{&FakeTwainScript::failEnableDs, 1}}),
                    seq({OpenDsm, OpenDs, EnableDs, CloseDs, CloseDsm}), 0, kLastError}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TwainAcquire, IdentitiesAndUserInterfaceSentToTheManager)
{
    ASSERT_TRUE(fake.loaded());
    fake.script({});
    TwainLink link(library, host);
    link.acquireNativeImages(0, 0);
    const twain::TW_IDENTITY& app = fake.origin();
    EXPECT_EQ(app.Id, 0u);
    EXPECT_EQ(app.Version.MajorNum, 1);
    EXPECT_EQ(app.Version.MinorNum, 0);
    EXPECT_EQ(app.Version.Language, 13);
    EXPECT_EQ(app.Version.Country, 1);
    EXPECT_STREQ(app.Version.Info, "<?>");
    EXPECT_EQ(app.ProtocolMajor, 1);
    EXPECT_EQ(app.ProtocolMinor, 6);
    EXPECT_EQ(app.SupportedGroups, 3u);
    EXPECT_STREQ(app.Manufacturer, "<?>");
    EXPECT_STREQ(app.ProductFamily, "<?>");
    EXPECT_STREQ(app.ProductName, "<?>");
    // The proxy window is the parent; the source shows its own dialog.
    EXPECT_EQ(fake.parent(), reinterpret_cast<const void*>(0x77));
    EXPECT_EQ(fake.userInterface().ShowUI, 1);
    EXPECT_EQ(fake.userInterface().hParent, reinterpret_cast<void*>(0x77));
    // The program's windows refuse input only while the source is enabled.
    EXPECT_EQ(host.enabledStates, (std::vector<bool>{false, true}));
}

TEST_F(TwainAcquire, QuittingProgramEndsTheWait)
{
    ASSERT_TRUE(fake.loaded());
    fake.script(script({{&FakeTwainScript::idleEvents, 1000}}));
    host.quitAfterTurns = 2;
    TwainLink link(library, host);
    link.acquireNativeImages(0, 0);
    EXPECT_EQ(fake.log(),
              seq({OpenDsm, OpenDs, EnableDs, ProcessEvent, ProcessEvent, ProcessEvent, DisableDs, CloseDs, CloseDsm}));
    EXPECT_EQ(link.state(), 1);
}

TEST_F(TwainAcquire, WindowErrors)
{
    ASSERT_TRUE(fake.loaded());
    fake.script({});
    host.proxyFails = true;
    TwainLink link(library, host);
    link.acquireNativeImages(0, 0);
    EXPECT_EQ(link.selectImageSource(0), 0);
    EXPECT_EQ(link.selectImageSource(0x99), 0);
    EXPECT_EQ(host.errors, (std::vector<std::string>{"Unable to create proxy window",
                                                     "TWAIN_SelectImageSource: Unable to create proxy window",
                                                     "TWAIN_SelectImageSource: window handle is invalid"}));
    EXPECT_EQ(fake.log(), "");
}

TEST_F(TwainAcquire, SelectSource)
{
    ASSERT_TRUE(fake.loaded());
    TwainLink link(library, host);
    fake.script({});
    EXPECT_NE(link.selectImageSource(0x51), 0); // a window of the program: no proxy
    EXPECT_EQ(fake.log(), seq({OpenDsm, UserSelect, CloseDsm}));
    EXPECT_EQ(fake.parent(), reinterpret_cast<const void*>(0x51));
    EXPECT_EQ(host.proxies, 0);
    fake.script(script({{&FakeTwainScript::cancelSelect, 1}}));
    EXPECT_EQ(link.selectImageSource(0), 0);
    EXPECT_TRUE(host.errors.empty());
    EXPECT_EQ(link.state(), 1);
}

TEST_F(TwainAcquire, ManagerThatCannotBeLoaded)
{
    ASSERT_TRUE(fake.loaded());
    fake.script({});
    // A missing file, and a library without DSM_Entry (the mathematics library).
    double (*cosine)(double) = &std::cos;
    Dl_info info{};
    ASSERT_NE(dladdr(reinterpret_cast<void*>(cosine), &info), 0);
    for (const char* path : {"/nonexistent/libtwaindsm.so", info.dli_fname}) {
        setenv("PIXORAN3_TWAIN_DSM", path, 1);
        TwainLink link(library, host);
        link.acquireNativeImages(0, 0);
        EXPECT_EQ(link.selectImageSource(0), 0);
        EXPECT_EQ(link.state(), 1);
    }
    EXPECT_EQ(host.errors, std::vector<std::string>(4, TwainLink::kLoadFailed));
    EXPECT_EQ(fake.log(), "");
}

TEST(PackedDib, IndexedImageWithItsColourTable)
{
    // 4 x 1 at 8 bits, two table entries (red, blue), pixels 0 1 0 1.
    unsigned char dib[40 + 8 + 4] = {40, 0, 0, 0, 4, 0, 0, 0, 1, 0, 0, 0, 1, 0, 8, 0};
    dib[32] = 2;
    const unsigned char table[8] = {0, 0, 255, 0, 255, 0, 0, 0};
    std::memcpy(dib + 40, table, 8);
    const unsigned char pixels[4] = {0, 1, 0, 1};
    std::memcpy(dib + 48, pixels, 4);
    const Bitmap b = decodePackedDib(dib);
    ASSERT_EQ(b.width(), 4);
    EXPECT_EQ(b.bitsPerPixel(), 24);
    EXPECT_EQ(b.pixel(0, 0), Colour(0x0000FF));
    EXPECT_EQ(b.pixel(1, 0), Colour(0xFF0000));
    // Headers the program does not read: an unknown header size, a size over
    // the limits, a colour table over 256 entries.
    dib[0] = 12;
    EXPECT_EQ(packedDibSize(dib), 0u);
    dib[0] = 40;
    dib[32] = 1;
    dib[33] = 1; // 257 colours
    EXPECT_EQ(packedDibSize(dib), 0u);
    dib[33] = 0;
    dib[6] = 1; // 65540 wide
    EXPECT_EQ(packedDibSize(dib), 0u);
    EXPECT_ANY_THROW(decodePackedDib(dib));
}

} // namespace
} // namespace px
