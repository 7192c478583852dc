// The commands of the main window itself: image view options, the window
// menu, quitting, help, the shared Ctrl+R and the file named at start.
#include "app/AboutDialog.h"
#include "app/MainWindowFixture.h"
#include "app/StartupDialogs.h"
#include "app/StatusBar.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QShortcut>

#include <set>

namespace px::test {
namespace {

using ViewOptionsTest = MainWindowFixture;

TEST_F(ViewOptionsTest, ItemsActOnTheActiveWindowOnly)
{
    MainWindow& w = create();
    ImageWindow* first = addImage(QStringLiteral("a.bmp"));
    ImageWindow* second = addImage(QStringLiteral("b.bmp"));
    ASSERT_EQ(w.activeImageWindow(), second);

    w.action("Gauche1")->trigger();
    EXPECT_FALSE(second->panelRight());
    EXPECT_TRUE(first->panelRight()) << "the other window waits for its activation";
    EXPECT_FALSE(w.action("Droite1")->isChecked());

    w.action("Visible1")->trigger();
    EXPECT_FALSE(w.action("Visible1")->isChecked());
    EXPECT_FALSE(second->panelVisible());
    EXPECT_FALSE(second->magnifierRunning());

    w.action("Blanc1")->trigger();
    EXPECT_TRUE(second->whiteCrossHair());
    EXPECT_FALSE(w.action("Noir1")->isChecked());

    const ViewOptions o = w.viewOptions();
    EXPECT_FALSE(o.panelRight);
    EXPECT_FALSE(o.panelVisible);
    EXPECT_TRUE(o.whiteCrossHair);

    w.mdiArea()->setActiveSubWindow(w.mdiArea()->subWindowList(QMdiArea::CreationOrder).first());
    EXPECT_FALSE(first->panelRight()) << "activation applies the ticks";
    EXPECT_FALSE(first->panelVisible());
    EXPECT_TRUE(first->whiteCrossHair());
}

TEST_F(ViewOptionsTest, SidePanelPopupRunsTheMainWindowItem)
{
    MainWindow& w = create();
    ImageWindow* image = addImage();
    emit image->popupOptionTriggered(QStringLiteral("Vuedensemble1"));
    EXPECT_FALSE(w.action("Vuedensemble1")->isChecked());
    EXPECT_FALSE(image->overviewVisible());
}

TEST_F(ViewOptionsTest, NewWindowCopiesTheActiveDocument)
{
    MainWindow& w = create();
    addImage(QStringLiteral("chat.bmp"), QStringLiteral("/images/chat.bmp"));
    w.action("Nouvellefentre1")->trigger();
    ASSERT_EQ(openWindows(), 2);
    ImageWindow* copy = w.activeImageWindow();
    EXPECT_EQ(copy->filePath(), "Image");
    EXPECT_EQ(toAscii(copy->document()), toAscii(fromAscii({"#.", ".#"})));
    EXPECT_EQ(w.statusPanels()->panelText(1), "Image");
}

using WindowMenuTest = MainWindowFixture;

TEST_F(WindowMenuTest, CloseAllAsksEachWindowAndStopsAtCancel)
{
    MainWindow& w = create();
    for (const char* name : {"un.bmp", "deux.bmp", "trois.bmp"})
        addImage(QString::fromLatin1(name));
    prompter.queueAnswer(Answer::No);
    prompter.queueAnswer(Answer::Cancel);
    w.action("Toutfermer1")->trigger();
    flush();
    EXPECT_EQ(openWindows(), 2);
    ASSERT_EQ(prompter.callsOf(Kind::Ask).size(), 2u) << "the third is not asked";
    EXPECT_EQ(prompter.callsOf(Kind::Ask)[0].text, "Voulez-vous enregistrer les modifications de trois.bmp ?")
        << "front-most first";
    EXPECT_TRUE(w.imageOpen());
}

TEST_F(WindowMenuTest, CloseAllSavesOnYesThroughTheSaveCommand)
{
    MainWindow& w = create();
    addImage(QStringLiteral("a.bmp"));
    addImage(QStringLiteral("b.bmp"));
    std::vector<QString> saved;
    w.saveDocument = [&](ImageWindow& image) {
        saved.push_back(image.windowTitle());
        return true;
    };
    prompter.queueAnswer(Answer::Yes);
    prompter.queueAnswer(Answer::Yes);
    w.action("Toutfermer1")->trigger();
    flush();
    EXPECT_EQ(openWindows(), 0);
    EXPECT_EQ(saved, (std::vector<QString>{"b.bmp", "a.bmp"}));
    EXPECT_FALSE(w.imageOpen());
}

TEST_F(WindowMenuTest, NextPreviousAndTheListOfWindows)
{
    MainWindow& w = create();
    ImageWindow* a = addImage(QStringLiteral("a.bmp"));
    ImageWindow* b = addImage(QStringLiteral("b.bmp"));
    w.action("Suivante1")->trigger();
    EXPECT_EQ(w.activeImageWindow(), a);
    w.action("Prcdente1")->trigger();
    EXPECT_EQ(w.activeImageWindow(), b);

    emit w.menu("Window1")->aboutToShow();
    auto* first = w.findChild<QAction*>("WindowListItem1");
    auto* second = w.findChild<QAction*>("WindowListItem2");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->text(), "&1 a.bmp");
    EXPECT_TRUE(second->isChecked()) << "the active window is ticked";
    first->trigger();
    EXPECT_EQ(w.activeImageWindow(), a);

    emit w.menu("Window1")->aboutToShow(); // rebuilt, not appended
    int listed = 0;
    for (QAction* item : w.menu("Window1")->actions())
        listed += item->objectName().startsWith("WindowListItem") ? 1 : 0;
    EXPECT_EQ(listed, 2);
}

TEST_F(WindowMenuTest, TilingSharesTheAreaInRowsOrColumns)
{
    MainWindow& w = create();
    w.resize(800, 600);
    show();
    for (int i = 0; i < 3; ++i)
        addImage();
    const QRect area = w.mdiArea()->viewport()->rect();
    const auto subs = w.mdiArea()->subWindowList(QMdiArea::CreationOrder);

    w.action("Horizontale1")->trigger();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(subs[i]->geometry().width(), area.width());
        EXPECT_EQ(subs[i]->geometry().top(), area.height() * i / 3);
    }
    EXPECT_EQ(subs[2]->geometry().bottom(), area.height() - 1) << "rows fill the area";

    w.action("Verticale1")->trigger();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(subs[i]->geometry().height(), area.height());
        EXPECT_EQ(subs[i]->geometry().left(), area.width() * i / 3);
    }
    EXPECT_EQ(subs[2]->geometry().right(), area.width() - 1);
}

TEST_F(WindowMenuTest, CascadeStepsDownAndKeepsTheWindowSizes)
{
    MainWindow& w = create();
    w.resize(1000, 900);
    show();
    addImage();
    addImage();
    const auto subs = w.mdiArea()->subWindowList(QMdiArea::CreationOrder);
    EXPECT_EQ(subs[0]->widget()->size(), QSize(ImageWindow::kDefaultWidth, ImageWindow::kDefaultHeight))
        << "the sub-window is made around the image window's own size";
    subs[0]->move(300, 200);
    w.action("Cascade1")->trigger();
    EXPECT_EQ(subs[0]->pos(), QPoint(0, 0));
    const int step = subs[1]->pos().x();
    EXPECT_GT(step, 0);
    EXPECT_EQ(subs[1]->pos(), QPoint(step, step));
    EXPECT_EQ(subs[0]->size(), subs[1]->size());
}

using QuitTest = MainWindowFixture;

TEST_F(QuitTest, CloseClosesTheActiveWindowAndQuitAsksEveryOther)
{
    MainWindow& w = create();
    show();
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"})
        addImage(QString::fromLatin1(name));
    prompter.queueAnswer(Answer::No);
    w.action("Fermer1")->trigger();
    flush();
    ASSERT_EQ(openWindows(), 2);
    for (QMdiSubWindow* sub : w.mdiArea()->subWindowList())
        EXPECT_NE(sub->widget()->windowTitle(), "c.bmp") << "the active window is the one closed";

    prompter.queueAnswer(Answer::Cancel);
    w.action("Quitter1")->trigger();
    flush();
    EXPECT_TRUE(w.isVisible()) << "a Cancel keeps the main window open";
    EXPECT_EQ(openWindows(), 2);

    prompter.queueAnswer(Answer::No);
    prompter.queueAnswer(Answer::No);
    w.action("Quitter1")->trigger();
    flush();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(openWindows(), 0);
    EXPECT_EQ(prompter.pending(), 0u);
}

using HelpMenuTest = MainWindowFixture;

TEST_F(HelpMenuTest, HelpMailAndSiteGoThroughTheShellTipAndAboutAreModal)
{
    MainWindow& w = create();
    w.action("Aideenligne1")->trigger();
    w.action("Aidebut")->trigger();
    w.action("Envoyer1")->trigger();
    w.action("SitePixoran31")->trigger();
    const std::string help = "file://" + (dir.path() / "aide" / "index.html").string();
    const std::vector<std::string> urls = {help, help, "mailto:contact@pixoran3.example?subject=Pixoran3",
                                           "https://www.pixoran3.example/"};
    EXPECT_EQ(shell.urls, urls);
    EXPECT_EQ(w.action("Aideenligne1")->shortcut(), QKeySequence(Qt::Key_F1));

    w.action("Astucedujour1")->trigger();
    w.action("Apropos1")->trigger();
    EXPECT_EQ(shownDialogs, (std::vector<std::string>{"TForm6", "TForm10"}));

    std::filesystem::remove_all(dir.path() / "aide");
    w.action("Aideenligne1")->trigger();
    EXPECT_EQ(shell.urls, urls) << "missing help pages are reported instead";
    EXPECT_EQ(messages(), 1u);
}

TEST_F(HelpMenuTest, AboutShowsTheDecodedCreditAndOpensTheSite)
{
    MainWindow& w = create();
    auto* about = qobject_cast<AboutDialog*>(w.dialog("TForm10"));
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->windowTitle(), "A propos...");
    // "YX[Uf" lowered by 20 per character: E D G A R.
    EXPECT_EQ(about->credit(), "EDGAR");
    EXPECT_EQ(about->findChild<QLabel*>("Label7")->text(), "version 1.4");
    EXPECT_EQ(about->findChild<QLabel*>("Label3")->text(), "programmé par");
    about->openWebSite();
    EXPECT_EQ(shell.urls, std::vector<std::string>{"https://www.pixoran3.example/"});
}

TEST(CreditTest, OnlyTheFirstFiveCharactersAreDecoded)
{
    EXPECT_EQ(decodeCredit("]]]]]]]]"), "IIIII"); // ']' is 93, 'I' is 73
    EXPECT_EQ(decodeCredit("Ua"), "AM") << "a shorter string gives what it has";
    EXPECT_EQ(decodeCredit(""), "");
}

using SharedShortcutTest = MainWindowFixture;

TEST_F(SharedShortcutTest, CtrlRRunsTheFirstUsableItemInMenuOrder)
{
    MainWindow& w = create();
    std::vector<std::string> ran;
    w.commands().setHandler("Rtablir1", [&] { ran.push_back("Rtablir1"); });
    w.commands().setHandler("Capturer1", [&] { ran.push_back("Capturer1"); });
    QShortcut* ctrlR = nullptr;
    for (QShortcut* s : w.findChildren<QShortcut*>())
        if (s->key() == QKeySequence(Qt::CTRL | Qt::Key_R))
            ctrlR = s;
    ASSERT_NE(ctrlR, nullptr);

    emit ctrlR->activated();
    addImage(); // redo shown but still disabled
    emit ctrlR->activated();
    w.action("Rtablir1")->setEnabled(true);
    emit ctrlR->activated();
    EXPECT_EQ(ran, (std::vector<std::string>{"Capturer1", "Capturer1", "Rtablir1"}));
}

using StartupTest = MainWindowFixture;

TEST_F(StartupTest, DialogsAreCreatedOnceInOrderAndOwnedByTheWindow)
{
    MainWindow& w = create();
    std::set<std::string> names;
    for (const StartupDialog& d : startupDialogs()) {
        EXPECT_TRUE(names.insert(d.objectName).second) << d.objectName;
        if (d.create) {
            QDialog* dialog = w.dialog(d.objectName);
            ASSERT_NE(dialog, nullptr) << d.objectName;
            EXPECT_EQ(dialog->parent(), &w);
            EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8(d.caption));
        }
    }
    EXPECT_EQ(names.size(), 40u);
}

} // namespace
} // namespace px::test
