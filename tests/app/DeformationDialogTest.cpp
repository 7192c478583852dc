// The deformation dialogs through the menu: "Tordre..." with its smaller
// previews, the position-0 rule of "Tordre..." and "Mirage...", and the
// layout of all four.
#include "app/MainWindowFixture.h"
#include "effects/dialogs/AdjustmentDialog.h"

#include <QLabel>
#include <QSlider>

namespace px::test {
namespace {

using DeformationDialogTest = MainWindowFixture;

Colour grey(int v)
{
    return makeColour(v, v, v);
}

QSlider* trackBar(QDialog& d)
{
    return d.findChild<QSlider*>(QStringLiteral("TrackBar1"));
}

PreviewImage* preview(QDialog& d, const char* name)
{
    return d.findChild<PreviewImage*>(QLatin1String(name));
}

Bitmap greyRows(std::initializer_list<std::initializer_list<int>> rows)
{
    Bitmap b(int(rows.begin()->size()), int(rows.size()), 24);
    int y = 0;
    for (const auto& row : rows) {
        int x = 0;
        for (int v : row)
            b.setPixel(x++, y, grey(v));
        ++y;
    }
    return b;
}

struct DialogCase {
    const char* form;
    const char* caption;
    int maximum;
    int tickFrequency;
    QSize preview;
};

class DeformationDialogLayout : public MainWindowFixture, public ::testing::WithParamInterface<DialogCase> {};

TEST_P(DeformationDialogLayout, OneTrackBarFromZero)
{
    const DialogCase& c = GetParam();
    MainWindow& w = create();
    auto* dialog = qobject_cast<AdjustmentDialog*>(w.dialog(c.form));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle().toStdString(), c.caption);
    QSlider* bar = trackBar(*dialog);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), c.maximum);
    EXPECT_EQ(bar->tickInterval(), c.tickFrequency);
    EXPECT_EQ(bar->value(), 0);
    for (const char* name : {"Image1", "Image2"})
        EXPECT_EQ(preview(*dialog, name)->size(), c.preview) << name;
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DeformationDialogLayout,
                         ::testing::Values(DialogCase{"TForm45", "Tordre...", 300, 12, QSize(119, 135)},
                                           DialogCase{"TForm44", "Mirage...", 20, 1, QSize(121, 137)},
                                           DialogCase{"TForm39", "Hallucination...", 200, 10, QSize(121, 137)},
                                           DialogCase{"TForm43", "Mosaïque...", 50, 2, QSize(121, 137)}));

// The smaller previews of "Tordre..." still stretch only beyond 121 x 137.
TEST_F(DeformationDialogTest, TwirlPreviewsStretchBeyond121By137)
{
    create();
    for (const auto& [size, stretched] : {std::pair{QSize(121, 137), false}, std::pair{QSize(122, 137), true}}) {
        open(uniformBitmap(size.width(), size.height(), grey(9)));
        bool seen = !stretched;
        onDialog([&seen](QDialog& d) {
            seen = preview(d, "Image1")->stretch() && preview(d, "Image2")->stretch();
            click(d, "Button2");
            return d.result();
        });
        trigger("Tordre3");
        EXPECT_EQ(seen, stretched) << size.width() << " x " << size.height();
    }
}

// 3 x 3 under a twist of 90: the pixel right of the centre shows 0.98883 of
// the pixel below it and 0.01111 of its right neighbour: 199. Back at 0 the
// destination keeps that picture; "Hallucination..." shows the source again.
TEST_F(DeformationDialogTest, TwirlPreviewStaysAsItWasAtZero)
{
    const Bitmap start = greyRows({{0, 0, 0}, {0, 50, 0}, {0, 200, 110}});
    ImageWindow* image = open(start);
    std::vector<Colour> seen;
    onDialog([&seen](QDialog& d) {
        trackBar(d)->setValue(90);
        seen.push_back(preview(d, "Image2")->bitmap().pixel(2, 1));
        trackBar(d)->setValue(0);
        seen.push_back(preview(d, "Image2")->bitmap().pixel(2, 1));
        EXPECT_EQ(d.findChild<QLabel*>("Label4")->text(), "0");
        click(d, "Button1");
        return d.result();
    });
    trigger("Tordre3");
    EXPECT_EQ(seen, (std::vector<Colour>{grey(199), grey(199)}));
    EXPECT_EQ(image->document(), start) << "OK at 0 applies nothing";
    EXPECT_EQ(undoSteps(), 0);

    seen.clear();
    onDialog([&seen](QDialog& d) {
        trackBar(d)->setValue(1);
        seen.push_back(preview(d, "Image2")->bitmap().pixel(1, 1));
        trackBar(d)->setValue(0);
        seen.push_back(preview(d, "Image2")->bitmap().pixel(1, 1));
        click(d, "Button2");
        return d.result();
    });
    trigger("Allucination2");
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_NE(seen[0], grey(50));
    EXPECT_EQ(seen[1], grey(50));
}

// "Mirage..." at 1 blends the whole width: column W-1 becomes column 0.
TEST_F(DeformationDialogTest, MirageAtOneAppliesThroughOk)
{
    ImageWindow* image = open(greyRows({{10, 20, 30, 40, 90}}));
    onDialog([](QDialog& d) {
        trackBar(d)->setValue(1);
        click(d, "Button1");
        return d.result();
    });
    trigger("Mirage3");
    EXPECT_EQ(image->document(), greyRows({{10, 25, 30, 25, 10}}));
    EXPECT_EQ(undoSteps(), 1);
}

} // namespace
} // namespace px::test
