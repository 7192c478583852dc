// The effects index (TForm46) through "&Index des effets...": its window,
// its 67 entries with their descriptions, the opening and stretch rules,
// the previews (computed off the user-interface thread, equal to what the
// entry's command does), OK and Annuler.
#include "effects/browser/EffectsIndex.h"
#include "app/MainWindowFixture.h"
#include "document/MagnifierPanel.h"
#include "effects/browser/EffectsIndexDialog.h"
#include "effects/browser/LatestJobRunner.h"
#include "effects/dialogs/AdjustmentDialog.h"
#include "transforms/StripEffects.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFrame>
#include <QLabel>
#include <QListWidget>

#include <future>
#include <mutex>

namespace px::test {
namespace {

using EffectsIndexTest = MainWindowFixture;

EffectsIndexDialog& indexOf(QDialog& d)
{
    return *qobject_cast<EffectsIndexDialog*>(&d);
}

int entryNamed(const char* text)
{
    const auto entries = effectsIndexEntries();
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (std::string_view(entries[i].text) == text)
            return int(i);
    ADD_FAILURE() << "no entry " << text;
    return -1;
}

// Clicks an entry the way the keyboard or a press does and waits for its
// preview.
void choose(EffectsIndexDialog& index, int entry)
{
    index.list()->setCurrentRow(entry);
    index.waitForPreview();
}

// Every entry runs a menu command without a dialog and shows its row's
// description; the ones whose spelling matters are checked letter by letter.
TEST_F(EffectsIndexTest, EntriesRunMenuCommandsAndShowTheirRowsDescriptions)
{
    MainWindow& w = create();
    auto& index = indexOf(*w.dialog("TForm46"));
    ASSERT_EQ(index.list()->count(), 67);
    for (int i = 0; i < 67; ++i) {
        const EffectCommand* row = indexEntryRow(w.effects(), i);
        ASSERT_NE(row, nullptr) << effectsIndexEntries()[std::size_t(i)].command;
        EXPECT_EQ(index.list()->item(i)->text().toStdString(), effectsIndexEntries()[std::size_t(i)].text);
        EXPECT_EQ(row->binding, EffectBinding::None) << row->name;
        EXPECT_NE(w.action(row->name), nullptr) << row->name;
        EXPECT_FALSE(row->description.empty() || row->description.back() == '.') << row->name;
    }
    const std::pair<int, const char*> spelled[] = {
        {2, "Agrandissement du bord droit de l'image en lui donnant en effet \nflou "},
        {26, "Donne une impression d'allucination de l'image"},
        {45, "Multiplit l'image en chevauchement"},
        {62, "Déforme l'image en forme de trapèze"},
        {63, "Déforme l'image en forme de trapèze"}};
    for (const auto& [entry, text] : spelled)
        EXPECT_EQ(indexEntryRow(w.effects(), entry)->description, text) << entry;
    EXPECT_EQ(index.list()->item(6)->text(), QStringLiteral("Bordure décomposer")) << "after \"Bouton\"";
    EXPECT_STREQ(effectsIndexEntries()[32].command, "Laplace1");
}

struct Place {
    const char* name;
    QRect geometry;   // an empty size: only the position is fixed
    const char* text; // of a label or button, or null
};

TEST_F(EffectsIndexTest, WindowHasItsComponentsInPlace)
{
    MainWindow& w = create();
    auto& index = indexOf(*w.dialog("TForm46"));
    EXPECT_EQ(index.windowTitle(), QStringLiteral("Index des effets"));
    EXPECT_EQ(index.size(), QSize(419, 259));
    EXPECT_EQ(index.minimumSize(), index.maximumSize()) << "fixed border";
    EXPECT_FALSE(index.windowFlags() & (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint));
    const Place places[] = {{"Label1", QRect(56, 8, 0, 0), "Nom de l'effet"},
                            {"ListBox1", QRect(10, 27, 161, 161), nullptr},
                            {"Label2", QRect(223, 8, 0, 0), "Visualisation"},
                            {"Bevel2", QRect(184, 27, 137, 161), nullptr},
                            {"Image2", QRect(186, 29, 133, 156), nullptr},
                            {"Image1", QRect(24, 32, 133, 156), nullptr},
                            {"Bevel1", QRect(10, 208, 311, 42), nullptr},
                            {"Label3", QRect(16, 201, 0, 0), "Description"},
                            {"Label4", QRect(16, 222, 0, 0), ""},
                            {"Button1", QRect(336, 24, 75, 25), "OK"},
                            {"Button2", QRect(336, 56, 75, 25), "Annuler"}};
    for (const Place& p : places) {
        auto* widget = index.findChild<QWidget*>(QLatin1String(p.name));
        ASSERT_NE(widget, nullptr) << p.name;
        EXPECT_EQ(p.geometry.isEmpty() ? QRect(widget->pos(), QSize(0, 0)) : widget->geometry(), p.geometry) << p.name;
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            EXPECT_EQ(label->text().toStdString(), p.text) << p.name;
        }
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            EXPECT_EQ(button->text().toStdString(), p.text) << p.name;
        }
    }
    EXPECT_TRUE(index.source()->isHidden()) << "the source copy is never shown";
    EXPECT_EQ(index.selectedEntry(), -1);
    EXPECT_EQ(index.list()->sizeHintForRow(0), 13);
}

// Tabbing into the list gives it a current row but selects nothing: no
// preview, and OK would run nothing.
TEST_F(EffectsIndexTest, FocusAloneChoosesNoEntry)
{
    MainWindow& w = create();
    auto& index = indexOf(*w.dialog("TForm46"));
    index.load(noise(4, 4), {});
    QFocusEvent tab(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(index.list(), &tab);
    ASSERT_EQ(index.list()->currentRow(), 0) << "the focus frame is on the first entry";
    EXPECT_EQ(index.selectedEntry(), -1);
    EXPECT_FALSE(index.previewPending());
    EXPECT_TRUE(index.description()->text().isEmpty());
    index.finish();
}

TEST_F(EffectsIndexTest, MenuItemShortcutAndToolButtonOpenTheIndex)
{
    MainWindow& w = create();
    EXPECT_EQ(w.action("Indexeffets1")->shortcut(), QKeySequence(QStringLiteral("Ctrl+I")));
    open(noise(4, 4));
    trigger("Indexeffets1");
    trigger("Choixeffetbut");
    EXPECT_EQ(shownDialogs, (std::vector<std::string>{"TForm46", "TForm46"}));
}

struct StretchCase {
    int width;
    int height;
    bool stretched;
};

class EffectsIndexStretch : public MainWindowFixture, public ::testing::WithParamInterface<StretchCase> {};

// Both previews hold a 24-bit copy of the document, which stays as it is
// (an indexed document stays indexed); beyond 133 x 156 they stretch.
TEST_P(EffectsIndexStretch, PreviewsCopyTheDocumentAndStretchBeyondTheirSize)
{
    const StretchCase& c = GetParam();
    Bitmap document(c.width, c.height, 8);
    document.setPixelIndex(1, 1, 215); // white in the 8-bit palette
    const Bitmap before = document;
    open(document);
    onDialog([&](QDialog& d) {
        auto& index = indexOf(d);
        EXPECT_EQ(index.source()->stretch(), c.stretched);
        EXPECT_EQ(index.destination()->stretch(), c.stretched);
        for (PreviewImage* p : {index.source(), index.destination()}) {
            EXPECT_EQ(p->bitmap().bitsPerPixel(), 24);
            EXPECT_EQ(p->bitmap().width(), c.width);
            EXPECT_EQ(p->bitmap().pixel(1, 1), kWhite);
            EXPECT_EQ(p->bitmap().pixel(0, 0), kBlack);
        }
        return int(QDialog::Rejected);
    });
    trigger("Indexeffets1");
    EXPECT_TRUE(window->activeImageWindow()->document() == before);
}

INSTANTIATE_TEST_SUITE_P(Sizes, EffectsIndexStretch,
                         ::testing::Values(StretchCase{100, 100, false}, StretchCase{200, 100, true},
                                           StretchCase{133, 156, false}, StretchCase{134, 156, true},
                                           StretchCase{133, 157, true}));

// Stretching is only switched on at an opening; OK switches the shown
// preview back, Annuler leaves it.
TEST_F(EffectsIndexTest, StretchStaysAfterAnnulerAndGoesAfterOk)
{
    open(noise(200, 100));
    onDialog(pressing("Button2"));
    trigger("Indexeffets1");
    open(noise(20, 20));
    bool stretchedAtOpening = false;
    onDialog(pressing("Button1", [&](QDialog& d) { stretchedAtOpening = indexOf(d).destination()->stretch(); }));
    trigger("Indexeffets1");
    EXPECT_TRUE(stretchedAtOpening);
    EXPECT_FALSE(indexOf(*window->dialog("TForm46")).destination()->stretch());
}

// Each entry's preview is what its menu command does to the document, byte
// for byte and with the same draws from the generator, the XOR step of the
// filters with the window's brush included; only "Bruit avec couleur plus"
// and "Triangle plus" preview with a milder amount.
class EffectsIndexEntryPreview : public MainWindowFixture, public ::testing::WithParamInterface<int> {};

TEST_P(EffectsIndexEntryPreview, IsTheCommandsResultComputedOffTheWindowThread)
{
    const int entry = GetParam();
    const std::string command = effectsIndexEntries()[std::size_t(entry)].command;
    ImageWindow* image = open(noise(120, 90));
    session.backgroundColour = makeColour(10, 200, 30);
    constexpr std::uint32_t kSeed = 0x1234567;
    session.random.setState(kSeed);
    session.random.setFixedSeed(0xBEEF); // what the spray effects re-seed with

    Bitmap preview;
    std::uint32_t stateAfterPreview = 0;
    onDialog(pressing("Button2", [&](QDialog& d) {
        auto& index = indexOf(d);
        index.list()->setCurrentRow(entry);
        EXPECT_TRUE(index.previewPending());
        EXPECT_EQ(QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::ArrowCursor,
                  Qt::WaitCursor);
        index.waitForPreview();
        EXPECT_FALSE(index.previewPending());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        preview = index.destination()->bitmap();
        stateAfterPreview = session.random.state();
    }));
    trigger("Indexeffets1");
    ASSERT_FALSE(preview.isEmpty());

    Bitmap expected = noise(120, 90);
    session.random.setState(kSeed);
    if (command == "Triangleplus1") {
        Triangle(expected, 50);
    } else {
        trigger(command == "Bruitaveccouleurplus1" ? "Bruitcouleur1" : command.c_str());
        expected = image->document();
        EXPECT_EQ(stateAfterPreview, session.random.state()) << "the same draws";
    }
    EXPECT_TRUE(preview == expected) << dumpMismatch("index-" + command, preview, expected);
    EXPECT_FALSE(preview == noise(120, 90)) << "the preview shows the effect";
}

INSTANTIATE_TEST_SUITE_P(AllEntries, EffectsIndexEntryPreview, ::testing::Range(0, 67),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(effectsIndexEntries()[std::size_t(info.param)].command);
                         });

// On a uniform image the three kernels that sum to 0 give black; the XOR
// with the window's brush (white by default) then gives white, in the
// preview as in the document after OK.
TEST_F(EffectsIndexTest, FilterPreviewsShowTheBrushStepAsOkApplies)
{
    for (const char* text : {"Contour", "Sculpture", "Trait"}) {
        SCOPED_TRACE(text);
        ImageWindow* image = open(uniformBitmap(5, 4, makeColour(100, 150, 200)));
        Bitmap preview;
        onDialog(pressing("Button1", [&](QDialog& d) {
            choose(indexOf(d), entryNamed(text));
            preview = indexOf(d).destination()->bitmap();
        }));
        trigger("Indexeffets1");
        EXPECT_TRUE(preview == uniformBitmap(5, 4, kWhite));
        EXPECT_TRUE(image->document() == uniformBitmap(5, 4, kWhite));
    }
}

TEST_F(EffectsIndexTest, EachPreviewStartsFromTheUnchangedImage)
{
    ImageWindow* image = open(noise(30, 20));
    Bitmap twirled, blurred;
    onDialog(pressing("Button2", [&](QDialog& d) {
        auto& index = indexOf(d);
        choose(index, entryNamed("Tordre"));
        twirled = index.destination()->bitmap();
        choose(index, entryNamed("Flou"));
        blurred = index.destination()->bitmap();
    }));
    trigger("Indexeffets1");
    EXPECT_FALSE(twirled == noise(30, 20));
    trigger("Flou1");
    EXPECT_TRUE(blurred == image->document()) << dumpMismatch("index-flou-after-tordre", blurred, image->document());
}

// OK with no entry selected runs nothing, takes no snapshot, and still
// refreshes the overview; at the next opening the list still selects the
// entry chosen before, and OK without a click applies it.
TEST_F(EffectsIndexTest, OkAppliesTheSelectionKeptFromTheLastOpening)
{
    ImageWindow* image = open(uniformBitmap(8, 6, kWhite));
    image->setOverviewVisible(true);
    auto* panel = image->findChild<MagnifierPanel*>();
    ASSERT_NE(panel, nullptr);
    image->document().fill(kBlack); // behind the views' back: only a refresh shows it
    onDialog(pressing("Button1"));
    trigger("Indexeffets1");
    EXPECT_EQ(undoSteps(), 0);
    EXPECT_TRUE(image->document() == uniformBitmap(8, 6, kBlack));
    EXPECT_EQ(panel->overviewImage().pixel(0, 0), kBlack) << "refreshed";

    image->setDocument(noise(8, 6));
    const int decomposed = entryNamed("Décomposée plus");
    onDialog(pressing("Button2", [&](QDialog& d) { choose(indexOf(d), decomposed); }));
    trigger("Indexeffets1");
    QString label4;
    onDialog(pressing("Button1", [&](QDialog& d) {
        EXPECT_EQ(indexOf(d).selectedEntry(), decomposed);
        label4 = indexOf(d).description()->text();
    }));
    trigger("Indexeffets1");
    EXPECT_EQ(label4, QStringLiteral("Décompose encore plus l'image"));
    EXPECT_EQ(undoSteps(), 1);
    ImageWindow* other = open(noise(8, 6));
    trigger("Dcomposerplus1");
    EXPECT_TRUE(image->document() == other->document()) << "as the menu item \"Décomposée plus\" does";
}

TEST_F(EffectsIndexTest, TrianglePlusAppliesItsCommandAfterAMilderPreview)
{
    ImageWindow* image = open(noise(300, 320));
    Bitmap preview;
    onDialog(pressing("Button1", [&](QDialog& d) {
        choose(indexOf(d), entryNamed("Triangle plus"));
        preview = indexOf(d).destination()->bitmap();
    }));
    trigger("Indexeffets1");
    Bitmap at50 = noise(300, 320), at150 = noise(300, 320);
    Triangle(at50, 50);
    Triangle(at150, 150);
    ASSERT_FALSE(at50 == at150);
    EXPECT_TRUE(preview == at50);
    EXPECT_TRUE(image->document() == at150);
    EXPECT_EQ(undoSteps(), 1);
}

TEST_F(EffectsIndexTest, AnnulerLeavesImageAndHistoriesUntouched)
{
    ImageWindow* image = open(noise(12, 10));
    trigger("Flou1");
    trigger("Sharpen1");
    trigger("Annuler1"); // one step in each history
    const Bitmap before = image->document();
    ASSERT_EQ(undoSteps(), 1);
    ASSERT_EQ(redoSteps(), 1);
    onDialog(pressing("Button2", [&](QDialog& d) { choose(indexOf(d), entryNamed("Mosaïque")); }));
    trigger("Indexeffets1");
    EXPECT_TRUE(image->document() == before);
    EXPECT_EQ(undoSteps(), 1);
    EXPECT_EQ(redoSteps(), 1);
    EXPECT_TRUE(enabled("Rtablir1"));
}

// Two clicks before the first preview arrives: only the second entry's
// preview is shown, once, and the hour-glass lasts until it arrives. A
// preview still being computed when the window closes is never shown.
TEST_F(EffectsIndexTest, OnlyTheLatestClicksPreviewIsShown)
{
    open(noise(50, 40));
    Bitmap shown;
    std::vector<int> shownEntries;
    EffectsIndexDialog* index = nullptr;
    onDialog(pressing("Button2", [&](QDialog& d) {
        index = &indexOf(d);
        QObject::connect(index, &EffectsIndexDialog::previewShown, index,
                         [&](int entry) { shownEntries.push_back(entry); });
        index->list()->setCurrentRow(entryNamed("Fisheye"));
        index->list()->setCurrentRow(entryNamed("Mosaïque plus"));
        index->waitForPreview();
        QCoreApplication::processEvents();
        EXPECT_FALSE(index->previewPending());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        shown = index->destination()->bitmap();
        index->list()->setCurrentRow(entryNamed("Spray plus"));
    }));
    trigger("Indexeffets1");
    index->waitForPreview();
    QCoreApplication::processEvents();
    EXPECT_EQ(shownEntries, std::vector<int>{entryNamed("Mosaïque plus")});
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(index->destination()->bitmap().isEmpty()) << "the copies are freed once closed";
    ImageWindow* reference = open(noise(50, 40));
    trigger("Mosaqueplus1");
    EXPECT_TRUE(shown == reference->document());
}

// A new image of width 0 has nothing to preview or change.
TEST_F(EffectsIndexTest, AnEmptyDocumentPreviewsAndAppliesNothing)
{
    ImageWindow* image = open(Bitmap(0, 5, 24));
    onDialog(pressing("Button1", [&](QDialog& d) {
        choose(indexOf(d), entryNamed("Mandel"));
        EXPECT_TRUE(indexOf(d).destination()->bitmap().isEmpty());
    }));
    trigger("Indexeffets1");
    EXPECT_TRUE(image->document().isEmpty());
    EXPECT_EQ(undoSteps(), 0);
    EXPECT_TRUE(prompter.calls().empty());
}

// A routine that fails is reported; the preview stays as it was.
TEST(EffectsIndexFailure, AFailingRoutineIsReportedAndKeepsThePreview)
{
    EffectRegistry effects;
    effects.add({.name = "Adoucir1",
                 .caption = "Adoucir",
                 .description = "Adoucissement des détails de l'image",
                 .inPlace = [](Bitmap&, const EffectContext&, std::span<const int>) {
                     throw EffectError("division par zéro");
                 }});
    ScriptedPrompter prompter;
    EffectsIndexDialog index(effects, prompter);
    index.load(fromAscii({"#.", ".#"}), {});
    index.list()->setCurrentRow(0);
    index.waitForPreview();
    ASSERT_EQ(prompter.callsOf(Kind::Message).size(), 1u);
    EXPECT_EQ(prompter.callsOf(Kind::Message)[0].text, "division par zéro");
    EXPECT_TRUE(index.destination()->bitmap() == fromAscii({"#.", ".#"}));
    EXPECT_FALSE(index.previewPending());
    index.finish();
}

// A job posted while another runs waits; a newer one replaces it.
TEST(LatestJobRunnerTest, RunsTheRunningAndTheNewestJobOnly)
{
    LatestJobRunner runner;
    std::promise<void> started, release;
    std::shared_future<void> released = release.get_future().share();
    std::vector<int> ran;
    std::mutex m;
    auto record = [&](int n) {
        const std::lock_guard lock(m);
        ran.push_back(n);
    };
    runner.post([&] {
        started.set_value();
        released.wait();
        record(1);
    });
    started.get_future().wait();
    runner.post([&] { record(2); });
    runner.post([&] { record(3); });
    release.set_value();
    runner.waitIdle();
    EXPECT_EQ(ran, (std::vector<int>{1, 3}));
}

} // namespace
} // namespace px::test
