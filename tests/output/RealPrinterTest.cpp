// Printing for real through CUPS: scripts/start-cups.sh runs a private
// server whose default queue turns each job into a PDF file, named to the
// test by $PIXORAN3_PRINT_OUTPUT; without it these tests skip. The PDF is
// read back with the poppler tools: its pages, title and embedded image,
// and, rendered, where the image lies on the page and how large it is.
#include "output/PrintPreviewDialog.h"
#include "OutputDoubles.h"
#include "platform/qt/QtPrinter.h"

#include <QPrinter>
#include <QSlider>
#include <QThread>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace px::test {
namespace {

std::string run(const std::string& command)
{
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

// The dark pixels' bounding box of a binary PGM file.
Rect darkBox(const std::string& pgmPath)
{
    const Bitmap page = parsePnm(readText(pgmPath));
    Rect box{page.width(), page.height(), 0, 0};
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (redOf(page.pixel(x, y)) < 128)
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                       std::max(box.bottom, y + 1)};
    return box;
}

class RealPrinter : public OutputFixture {
protected:
    void SetUp() override
    {
        OutputFixture::SetUp();
        const char* output = std::getenv("PIXORAN3_PRINT_OUTPUT");
        if (!output || !std::getenv("CUPS_SERVER"))
            GTEST_SKIP() << "no CUPS server for the tests (scripts/start-cups.sh)";
        pdf = output;
        std::filesystem::remove(pdf);
        create();
        printer = dynamic_cast<QtPrinter*>(window->outputServices().printer.get());
        ASSERT_NE(printer, nullptr);
        printer->runDialog = [](QDialog&) { return int(QDialog::Accepted); };
    }

    // The job's file once CUPS has written it whole.
    bool waitForPdf()
    {
        for (int i = 0; i < 200; ++i) {
            if (std::filesystem::exists(pdf) &&
                run("pdfinfo '" + pdf + "' 2>/dev/null").find("Pages:") != std::string::npos)
                return true;
            QThread::msleep(100);
        }
        return false;
    }

    std::string pdf;
    QtPrinter* printer = nullptr;
};

TEST_F(RealPrinter, ImageAtFactorsTwoByTwo)
{
    ASSERT_TRUE(printer->hasPrinters());
    open(uniformBitmap(300, 200, kBlack))->setFilePath(QStringLiteral("/images/noir.bmp"));
    onDialog(pressing("Button2", [](QDialog& d) {
        d.show();
        QCoreApplication::processEvents();
        d.findChild<QSlider*>(QStringLiteral("TrackBar1"))->setValue(2);
        d.findChild<QSlider*>(QStringLiteral("TrackBar2"))->setValue(2);
    }));
    trigger("Aperuavantimpression1");
    EXPECT_TRUE(prompter.calls().empty());
    ASSERT_TRUE(waitForPdf()) << "no PDF from the queue";

    const std::string info = run("pdfinfo '" + pdf + "'");
    EXPECT_NE(info.find("Pages:           1\n"), std::string::npos) << info;
    EXPECT_NE(info.find("/images/noir.bmp"), std::string::npos) << info;
    // The image goes into the document once, at its own 300 x 200 pixels.
    const std::string images = run("pdfimages -list '" + pdf + "'");
    EXPECT_NE(images.find("   300   200 "), std::string::npos) << images;

    // Rendered at a quarter of the printer's resolution, the 600 x 400
    // printer pixels are 150 x 100, 10 printer pixels (2.5) from the
    // printable area's corner.
    QPrinter& q = printer->printer();
    const int dpi = q.resolution();
    const QRect paper = q.paperRect(QPrinter::DevicePixel).toRect();
    const QRect page = q.pageRect(QPrinter::DevicePixel).toRect();
    const int renderDpi = dpi / 4;
    const std::string base = (std::filesystem::path(pdf).parent_path() / "page").string();
    run("pdftoppm -gray -r " + std::to_string(renderDpi) + " -f 1 -l 1 '" + pdf + "' '" + base + "'");
    const Rect box = darkBox(base + "-1.pgm");
    auto scaled = [](double printerPixels) { return printerPixels / 4.0; };
    EXPECT_NEAR(box.width(), scaled(600), 1.0);
    EXPECT_NEAR(box.height(), scaled(400), 1.0);
    EXPECT_NEAR(box.left, scaled(page.left() - paper.left() + 10), 1.0);
    EXPECT_NEAR(box.top, scaled(page.top() - paper.top() + 10), 1.0);
}

} // namespace
} // namespace px::test
