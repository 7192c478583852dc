// The printing commands with a recording printer: the printer check, the
// preview window (geometry, track bars, "Imprimer", "Fermer") and
// "&Imprimer..." without the preview.
#include "app/OutputCommands.h"
#include "output/PrintPreviewDialog.h"
#include "OutputDoubles.h"

#include <QSlider>

namespace px::test {
namespace {

class PrintCommands : public OutputFixture {
protected:
    void SetUp() override
    {
        OutputFixture::SetUp();
        createWithDoubles();
        image = open(uniformBitmap(300, 200, kBlack));
        image->setFilePath(QStringLiteral("/images/chat.bmp"));
        dialog()->screenSize = [] { return Size{1024, 768}; };
    }
    PrintPreviewDialog* dialog() { return qobject_cast<PrintPreviewDialog*>(window->dialog("TForm14")); }
    QSlider* bar(const char* name) { return dialog()->findChild<QSlider*>(QLatin1String(name)); }

    // Runs the preview; `script` acts on the shown window.
    void preview(std::function<void(PrintPreviewDialog&)> script)
    {
        onDialog([script](QDialog& d) {
            auto& p = static_cast<PrintPreviewDialog&>(d);
            p.show();
            QCoreApplication::processEvents();
            script(p);
            p.hide();
            return p.result();
        });
        trigger("Aperuavantimpression1");
    }

    ImageWindow* image = nullptr;
};

TEST_F(PrintCommands, NoPrinterStopsAllThree)
{
    printer->installed = false;
    int shown = 0;
    onDialog([&shown](QDialog&) { return ++shown, int(QDialog::Rejected); });
    for (const char* command : {"Aperuavantimpression1", "Imprimer1", "Configurationdelimpression1"}) {
        prompter.clearCalls();
        trigger(command);
        ASSERT_EQ(prompter.calls().size(), 1u) << command;
        EXPECT_EQ(prompter.last().text, kNoPrinter);
        EXPECT_EQ(prompter.last().messageKind, MessageKind::Error);
    }
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(printer->printDialogs + printer->setupDialogs, 0);
    EXPECT_TRUE(printer->jobs.empty());
}

// The worked example: a 4800 x 6600 page on a 1024 x 768 screen is a
// 960 x 1320 page area; the 300 x 200 image is 60 x 40 at (10, 10), and
// 180 x 40 with "Largeur de l'image :" at 3.
TEST_F(PrintCommands, PreviewShowsTheReducedPageAndFollowsTheTrackBars)
{
    preview([this](PrintPreviewDialog& p) {
        EXPECT_EQ(p.statusText(), QStringLiteral("/images/chat.bmp"));
        ASSERT_EQ(p.pageArea().width(), 960);
        ASSERT_EQ(p.pageArea().height(), 1320);
        auto imageAt = [&p](int x, int y) { return p.pageArea().pixel(x, y) == kBlack; };
        EXPECT_TRUE(imageAt(10, 10) && imageAt(69, 49));
        EXPECT_FALSE(imageAt(9, 10) || imageAt(70, 10) || imageAt(10, 50));
        for (QSlider* b : {bar("TrackBar1"), bar("TrackBar2")}) {
            EXPECT_EQ(b->minimum(), 1);
            EXPECT_EQ(b->maximum(), 20);
            EXPECT_EQ(b->value(), 1);
            EXPECT_EQ(b->tickInterval(), 1);
        }
        bar("TrackBar2")->setValue(3);
        EXPECT_EQ(p.factors().width, 3);
        EXPECT_TRUE(imageAt(189, 49));
        EXPECT_FALSE(imageAt(190, 10) || imageAt(10, 50));
        bar("TrackBar1")->setValue(2);
        EXPECT_TRUE(imageAt(189, 89));
        EXPECT_FALSE(imageAt(10, 90));
    });
}

TEST_F(PrintCommands, ImprimerInThePreviewPrintsAtTheFactors)
{
    preview([this](PrintPreviewDialog& p) {
        bar("TrackBar1")->setValue(2);
        bar("TrackBar2")->setValue(2);
        click(p, "Button2");
        EXPECT_FALSE(p.isVisible());
    });
    ASSERT_EQ(printer->jobs.size(), 1u);
    EXPECT_EQ(printer->jobs[0].title, "/images/chat.bmp");
    EXPECT_EQ(printer->jobs[0].image, (Size{300, 200}));
    EXPECT_EQ(printer->jobs[0].target, (Rect{10, 10, 610, 410}));

    // "&Imprimer..." keeps the factors last set in the preview.
    trigger("Imprimer1");
    ASSERT_EQ(printer->jobs.size(), 2u);
    EXPECT_EQ(printer->jobs[1].target, (Rect{10, 10, 610, 410}));

    // Showing the preview again starts from 1 x 1, and says so on its bars.
    preview([this](PrintPreviewDialog& p) {
        EXPECT_EQ(bar("TrackBar1")->value(), 1);
        EXPECT_EQ(bar("TrackBar2")->value(), 1);
        EXPECT_EQ(p.factors().width, 1);
        click(p, "Button2");
    });
    EXPECT_EQ(printer->jobs.back().target, (Rect{10, 10, 310, 210}));
}

TEST_F(PrintCommands, CancelledPrintDialogPrintsNothing)
{
    printer->acceptPrintDialog = false;
    trigger("Imprimer1");
    preview([this](PrintPreviewDialog& p) {
        click(p, "Button2");
        EXPECT_TRUE(p.isVisible()); // the preview stays open
    });
    EXPECT_EQ(printer->printDialogs, 2);
    EXPECT_TRUE(printer->jobs.empty());
}

TEST_F(PrintCommands, FermerPutsTheBarsBackToOne)
{
    preview([this](PrintPreviewDialog& p) {
        bar("TrackBar1")->setValue(4);
        bar("TrackBar2")->setValue(5);
        click(p, "Button1");
    });
    EXPECT_EQ(bar("TrackBar1")->value(), 1);
    EXPECT_EQ(bar("TrackBar2")->value(), 1);
    trigger("Imprimer1");
    ASSERT_EQ(printer->jobs.size(), 1u);
    EXPECT_EQ(printer->jobs[0].target, (Rect{10, 10, 310, 210}));
}

TEST_F(PrintCommands, SetupRunsThePrinterSetupDialog)
{
    trigger("Configurationdelimpression1");
    EXPECT_EQ(printer->setupDialogs, 1);
    EXPECT_TRUE(prompter.calls().empty());
}

} // namespace
} // namespace px::test
