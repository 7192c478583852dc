// "&Acquérir..." and "&Sélection de la source...": through the fake TWAIN
// manager (windows per transferred image, the "TWAIN Error" box), through a
// SANE double when no manager exists, and the message when neither does.
#include "FakeTwain.h"
#include "output/Acquisition.h"
#include "output/ScannerSourceDialog.h"
#include "OutputDoubles.h"

#include <QListWidget>

namespace px::test {
namespace {

class ScanCommands : public OutputFixture {
protected:
    std::vector<Size> windowSizes()
    {
        std::vector<Size> sizes;
        for (ImageWindow* w : window->imageWindows())
            sizes.push_back({w->document().width(), w->document().height()});
        return sizes;
    }
    FakeTwain fake;
};

TEST_F(ScanCommands, TwainWindowsPerTransferredImages)
{
    createWithDoubles();
    ASSERT_TRUE(fake.loaded());
    // Image i is (3 + i) x 2, 24 bits.
    struct Row {
        int images;
        std::vector<Size> windows;
    };
    for (const Row& row : {Row{1, {{3, 2}}}, Row{2, {{3, 2}, {4, 2}}}, Row{3, {{3, 2}}}}) {
        FakeTwainScript s;
        s.images = row.images;
        fake.script(s);
        trigger("Acqurir1");
        EXPECT_EQ(windowSizes(), row.windows) << row.images;
        int i = 0;
        for (ImageWindow* w : window->imageWindows()) {
            EXPECT_EQ(w->windowTitle(), QStringLiteral("Image"));
            // Image i: every byte (i + 1) * 40.
            EXPECT_EQ(w->document().pixel(2, 1), Colour(++i * 40 * 0x010101));
        }
        session.noSavePrompt = true;
        window->mdiArea()->closeAllSubWindows();
        flush();
    }
    EXPECT_TRUE(prompter.calls().empty());
    EXPECT_TRUE(window->isEnabled());
}

TEST_F(ScanCommands, SelectionAsksTheManagerThenAcquires)
{
    createWithDoubles();
    ASSERT_TRUE(fake.loaded());
    FakeTwainScript s;
    s.cancelSelect = 1; // a cancelled selection still goes on to acquire
    fake.script(s);
    trigger("Slectiondelasource1");
    EXPECT_EQ(fake.log().substr(0, 27), "M1/4/301\nM1/3/403\nM1/4/302\n");
    EXPECT_EQ(openWindows(), 1);
}

TEST_F(ScanCommands, TwainErrorsInTheirBox)
{
    createWithDoubles();
    ASSERT_TRUE(fake.loaded());
    FakeTwainScript openFails;
    openFails.failOpenDs = 1;
    FakeTwainScript cancelled;
    cancelled.closeRequest = 1;
    for (const FakeTwainScript& s : {openFails, cancelled}) {
        fake.script(s);
        trigger("Acqurir1");
    }
    setenv("PIXORAN3_TWAIN_DSM", "/nonexistent/libtwaindsm.so", 1);
    trigger("Acqurir1");
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{TwainLink::kLastError, TwainLink::kLoadFailed}));
    for (const auto& call : prompter.calls()) {
        EXPECT_EQ(call.caption, "TWAIN Error");
        EXPECT_EQ(call.messageKind, MessageKind::Warning);
    }
    EXPECT_EQ(openWindows(), 0);
    EXPECT_TRUE(scanners->scanned.empty()); // a named manager is used even when missing
}

TEST_F(ScanCommands, NeitherTwainNorSane)
{
    createWithDoubles(false);
    scanners->present = false;
    trigger("Acqurir1");
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{TwainLink::kLoadFailed});
    EXPECT_EQ(openWindows(), 0);
}

TEST_F(ScanCommands, SaneSourceChosenForTheRun)
{
    createWithDoubles(false);
    // Without a choice the first device scans.
    trigger("Acqurir1");
    onDialog(pressing("Button1", [](QDialog& d) {
        auto* list = d.findChild<QListWidget*>(QStringLiteral("ListBox1"));
        EXPECT_EQ(list->count(), 2);
        EXPECT_EQ(list->item(1)->text(), QStringLiteral("Noname virtual device (test:1)"));
        list->setCurrentRow(1);
    }));
    trigger("Slectiondelasource1");
    trigger("Acqurir1");
    // A cancelled list changes nothing and scans nothing.
    onDialog(pressing("Button2"));
    trigger("Slectiondelasource1");
    EXPECT_EQ(scanners->scanned, (std::vector<std::string>{"test:0", "test:1", "test:1"}));
    EXPECT_EQ(window->outputServices().scannerDevice, "test:1");
    EXPECT_EQ(windowSizes(), (std::vector<Size>(3, Size{5, 4})));
}

TEST_F(ScanCommands, SaneFailures)
{
    createWithDoubles(false);
    scanners->error = "Document feeder jammed";
    trigger("Acqurir1");
    scanners->list.clear();
    trigger("Acqurir1");
    EXPECT_EQ(prompter.texts(),
              (std::vector<std::string>{std::string(kScanFailedPrefix) + "Document feeder jammed", kNoScanner}));
    EXPECT_EQ(openWindows(), 0);
}

} // namespace
} // namespace px::test
