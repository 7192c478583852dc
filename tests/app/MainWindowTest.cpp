// The main window's layout, start states, its two states and the Options menu.
#include "app/MainWindowFixture.h"
#include "app/StatusBar.h"
#include "tools/dialogs/ColourPanel.h"
#include "tools/ToolRegistry.h"

#include <QAction>
#include <QDockWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace px::test {
namespace {

using MainWindowLayoutTest = MainWindowFixture;

TEST_F(MainWindowLayoutTest, EveryMenuRowIsAnActionFoundByName)
{
    MainWindow& w = create();
    EXPECT_EQ(w.objectName(), "TForm1");
    EXPECT_EQ(w.windowTitle(), "Pixoran3");
    for (const Command& c : w.commands().commands()) {
        const QString name = QString::fromUtf8(c.row.objectName);
        auto* a = w.findChild<QAction*>(name);
        ASSERT_NE(a, nullptr) << c.row.objectName;
        if (c.row.kind != CommandKind::Separator) {
            EXPECT_EQ(a->text(), QString::fromUtf8(c.row.caption)) << c.row.objectName;
        }
        if (c.row.kind == CommandKind::Submenu) {
            EXPECT_NE(w.findChild<QMenu*>(name), nullptr) << c.row.objectName;
        }
    }
}

TEST_F(MainWindowLayoutTest, TopLevelMenusStartAsTheFormHasThem)
{
    MainWindow& w = create();
    QStringList visible;
    for (QAction* a : w.menuBar()->actions())
        if (a->isVisible())
            visible << a->text();
    EXPECT_EQ(visible, QStringList({"&Fichier", "&Edition", "&Options", "C&apture", "&Aide"}));
}

struct ButtonExpectation {
    const char* name;
    const char* hint;
    bool enabled;
};

// Panel1 left to right, with hints and start states typed from the form.
// clang-format off
const ButtonExpectation kPanel1[] = {
    {"Nouveaubut", "Nouveau...", true}, {"Ouvrirbut", "Ouvrir...", true}, {"Enregistrerbut", "Enregistrer", false},
    {"Imprimerbut", "Imprimer", false}, {"Annulerbut", "Annuler", false},
    {"Retablirbut", "Rétablir l'annulation", false}, {"Couperbut", "Couper", false}, {"Copierbut", "Copier", false},
    {"Collerbut", "Coller", false}, {"Infosbut", "Informations", false}, {"Ecranbut", "Plein écran", false},
    {"Optioutilsbut", "Options d'outils", false}, {"Choixeffetbut", "Index des l'effets...", false},
    {"Ajusterrvbbut", "Ajuster RVB...", false}, {"Nombrecolbut", "Nombre de couleurs utilisées...", false},
    {"Cyclebut", "Cycle", false}, {"Capturebut", "Capturer", true}, {"Aidebut", "Aide Pixoran3", true}};
// clang-format on

TEST_F(MainWindowLayoutTest, MainToolBarButtonsHaveTheirPlaceHintAndStartState)
{
    MainWindow& w = create();
    const QList<QAction*> actions = w.mainToolBar()->actions();
    ASSERT_EQ(actions.size(), 18);
    for (int i = 0; i < 18; ++i) {
        const ButtonExpectation& e = kPanel1[i];
        EXPECT_EQ(actions[i]->objectName(), e.name);
        EXPECT_EQ(actions[i]->toolTip(), QString::fromUtf8(e.hint));
        EXPECT_EQ(actions[i]->isEnabled(), e.enabled) << e.name;
        EXPECT_NE(w.findChild<QToolButton*>(e.name), nullptr) << "the button itself is named too";
    }
    // The buttons run their menu commands.
    std::vector<std::string> ran;
    for (const char* name : {"Nouveau1", "Capturer1"})
        w.commands().setHandler(name, [&ran, name] { ran.push_back(name); });
    w.action("Nouveaubut")->trigger();
    w.action("Capturebut")->trigger();
    EXPECT_EQ(ran, (std::vector<std::string>{"Nouveau1", "Capturer1"}));
}

struct ToolExpectation {
    const char* name;
    const char* hint;
    const char* status;
    int id;
};

// Panel2 in tool order, typed from the tool table.
// clang-format off
const ToolExpectation kPanel2[] = {
    {"Lignebut", "Ligne", "Ligne actif", 0}, {"Crayonbut", "Crayon", "Crayon actif", 2},
    {"Gommebut", "Gomme", "Gomme actif", 3}, {"Rempbut", "Remplissage", "Remplissage actif", 4},
    {"Coloribut", "Colorimètre", "Colorimètre actif", 5}, {"Aerogrbut", "Aérographe", "Aérographe actif", 6},
    {"Etoilebut", "Etoile", "Etoile actif", 7}, {"Spiralebut", "Spirale", "Spirale actif", 8},
    {"Rectanglebut", "Rectangle", "Rectangle actif", 9},
    {"Roundrectbut", "Rectangle arrondi", "Rectangle arrondi actif", 10},
    {"Ellipsebut", "Ellipse", "Ellipse actif", 11}, {"Floubut", "Rectangle flou", "Rectangle flou actif", 12},
    {"Carrebut", "Carré", "Carre actif", 13}, {"Cerclebut", "Cercle", "Cercle actif", 14},
    {"Tamponbut", "Tampon", "Tampon actif", 15}, {"Selection", "Sélection", "Sélection actif", 16},
    {"Textebut", "Texte", "Texte actif", 17}, {"Spraybut", "Spray", "Spray actif", 18}};
// clang-format on

TEST_F(MainWindowLayoutTest, DrawingToolButtonsSelectTheirToolAndStatusText)
{
    MainWindow& w = create();
    const QList<QAction*> actions = w.toolPalette()->actions();
    ASSERT_EQ(actions.size(), 18);
    for (int i = 0; i < 18; ++i) {
        EXPECT_FALSE(actions[i]->isEnabled()) << kPanel2[i].name << " waits for an image";
        EXPECT_EQ(actions[i]->isChecked(), i == 0) << "Lignebut is pressed at start";
    }
    addImage();
    // The text window opened by "Texte" is answered OK.
    onDialog([](QDialog&) { return int(QDialog::Accepted); });
    for (int i = 0; i < 18; ++i) {
        const ToolExpectation& e = kPanel2[i];
        QAction* a = actions[i];
        EXPECT_EQ(a->objectName(), e.name);
        EXPECT_EQ(a->toolTip(), QString::fromUtf8(e.hint));
        a->trigger();
        EXPECT_EQ(session.currentTool, e.id) << e.name;
        EXPECT_EQ(w.statusPanels()->panelText(2), QString::fromUtf8(e.status));
        int checked = 0;
        for (QAction* other : actions)
            checked += other->isChecked() ? 1 : 0;
        EXPECT_TRUE(a->isChecked() && checked == 1) << e.name << ": one tool at a time";
    }

    // A tool may replace its button's handler, which then decides about the tool.
    int opened = 0;
    w.action("Lignebut")->trigger();
    w.setToolHandler("Textebut", [&] { ++opened; });
    w.action("Textebut")->trigger();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(session.currentTool, 0);
}

TEST_F(MainWindowLayoutTest, StatusBarStartsSimpleAndShowsHints)
{
    MainWindow& w = create();
    StatusBar* bar = w.statusPanels();
    EXPECT_EQ(bar->objectName(), "StatusBar1");
    EXPECT_FALSE(bar->panelMode());
    EXPECT_EQ(bar->simpleText(), "Pour obtenir de l'aide, appuyez sur F1");
    w.action("Quitter1")->showStatusText(&w);
    EXPECT_EQ(bar->simpleText(), "Quitte Pixoran3");
    bar->showHint(QString());
    EXPECT_EQ(bar->simpleText(), "Pour obtenir de l'aide, appuyez sur F1");

    addImage();
    ASSERT_TRUE(bar->panelMode());
    w.action("Fermer1")->showStatusText(&w);
    EXPECT_EQ(bar->panelText(0), "Fermer l'image") << "in panel mode hints go to panel 0";
    EXPECT_EQ(bar->panelText(2), "Ligne actif");
    EXPECT_EQ(bar->panelText(3), "Position :(0,0)");
}

// The two states, checked item by item against the state table.
void expectState(MainWindow& w, bool open)
{
    for (const char* menu : {"Image2", "Effets1", "Couleurs1", "Window1"})
        EXPECT_EQ(w.action(menu)->isVisible(), open) << menu;
    for (const char* item :
         {"Fermer1", "Restaurer1", "Effacer1", "Enregistrer1", "Enregistrersous1", "Enregistrerlacopiesous1", "N8",
          "Aperuavantimpression1", "Configurationdelimpression1", "Imprimer1", "Annuler1", "Rtablir1"})
        EXPECT_EQ(w.action(item)->isVisible(), open) << item;
    EXPECT_EQ(w.action("Fermer1")->isEnabled(), open);
    for (const char* item : {"Couper1", "Copier1", "Clair1", "Supprimer1", "Touteffacer1", "Slction1"}) {
        EXPECT_EQ(w.action(item)->isVisible(), open) << item;
        EXPECT_EQ(w.action(item)->isEnabled(), open) << item;
    }
    for (const char* button :
         {"Enregistrerbut", "Imprimerbut", "Couperbut", "Copierbut", "Infosbut", "Ecranbut", "Optioutilsbut",
          "Choixeffetbut", "Ajusterrvbbut", "Nombrecolbut", "Cyclebut", "Lignebut", "Spraybut"})
        EXPECT_EQ(w.action(button)->isEnabled(), open) << button;
    for (const char* always : {"Nouveaubut", "Ouvrirbut", "Capturebut", "Aidebut", "Coller1", "Charger1", "Vider1"})
        EXPECT_TRUE(w.action(always)->isEnabled()) << always;
    EXPECT_EQ(w.statusPanels()->panelMode(), open);
}

TEST_F(MainWindowLayoutTest, OpeningAndClosingImagesSwitchesTheState)
{
    MainWindow& w = create();
    auto* swatch = w.colourPanel()->findChild<QWidget*>("Panel7");
    ASSERT_NE(swatch, nullptr);
    expectState(w, false);
    EXPECT_FALSE(swatch->isEnabled());
    addImage(QStringLiteral("a.bmp"), QStringLiteral("/x/a.bmp"));
    addImage(QStringLiteral("b.bmp"), QStringLiteral("/x/b.bmp"));
    expectState(w, true);
    EXPECT_TRUE(swatch->isEnabled());
    EXPECT_EQ(w.statusPanels()->panelText(1), "/x/b.bmp");

    // Closing one of two returns to the image state with the other.
    session.noSavePrompt = true;
    w.mdiArea()->activeSubWindow()->close();
    flush();
    EXPECT_EQ(openWindows(), 1);
    expectState(w, true);
    EXPECT_EQ(w.statusPanels()->panelText(1), "/x/a.bmp");

    session.noSavePrompt = false;
    prompter.queueAnswer(Answer::No);
    ASSERT_TRUE(w.mdiArea()->subWindowList().first()->close());
    flush();
    EXPECT_EQ(openWindows(), 0);
    expectState(w, false);
    EXPECT_FALSE(swatch->isEnabled());
}

TEST_F(MainWindowLayoutTest, UndoButtonsFollowTheirMenuItemsWhileAnImageIsOpen)
{
    MainWindow& w = create();
    w.action("Annuler1")->setEnabled(true); // the history has a step
    EXPECT_FALSE(w.action("Annulerbut")->isEnabled()) << "no image: the button stays off";
    addImage();
    EXPECT_FALSE(w.action("Annulerbut")->isEnabled()) << "a new window empties the history";
    w.action("Annuler1")->setEnabled(true);
    w.applyImageOpenState();
    EXPECT_TRUE(w.action("Annulerbut")->isEnabled());
    EXPECT_FALSE(w.action("Retablirbut")->isEnabled());
}

TEST_F(MainWindowLayoutTest, MenuOpeningFollowsClipboardAndCaption)
{
    MainWindow& w = create();
    w.editMenuOpening();
    // Slction1 is hidden without an image, and a hidden action is never enabled.
    for (const char* item : {"Coller1", "Slction1", "Vider1"})
        EXPECT_FALSE(w.action(item)->isEnabled()) << item;
    w.timerTick();
    EXPECT_FALSE(w.action("Collerbut")->isEnabled());

    const Bitmap picture = uniformBitmap(4, 4, makeColour(255, 0, 0));
    clipboard.setImage(picture);
    w.editMenuOpening();
    for (const char* item : {"Coller1", "Vider1"})
        EXPECT_TRUE(w.action(item)->isEnabled()) << item;
    w.timerTick();
    EXPECT_TRUE(w.action("Collerbut")->isEnabled()) << "pasting needs no open image";
    clipboard.clear();

    addImage(QStringLiteral("Image"));
    ASSERT_TRUE(w.action("Slction1")->isEnabled()) << "the image state enables it";
    w.editMenuOpening();
    EXPECT_FALSE(w.action("Slction1")->isEnabled()) << "but the clipboard is empty";
    clipboard.setImage(picture);
    w.editMenuOpening();
    EXPECT_TRUE(w.action("Slction1")->isEnabled());
    clipboard.clear();

    w.fileMenuOpening();
    EXPECT_FALSE(w.action("Restaurer1")->isEnabled()) << "a new image has no file to restore";
    addImage(QStringLiteral("chat.bmp"), QStringLiteral("/images/chat.bmp"));
    w.fileMenuOpening();
    EXPECT_TRUE(w.action("Restaurer1")->isEnabled());
}

// Counts the timer ticks it gets and the document they concern.
class TickCountingTool : public Tool {
public:
    Damage press(const ToolEvent&, const ToolContext&) override { return {}; }
    Damage timerTick(const ToolContext& context) override
    {
        documents.push_back(&context.document);
        return {};
    }
    std::vector<const Bitmap*> documents;
};

TEST_F(MainWindowLayoutTest, TimerTicksTheCurrentToolOnTheActiveImageWindow)
{
    MainWindow& w = create();
    EXPECT_TRUE(w.timer1()->isActive());
    w.timer1()->stop(); // only the ticks below count, not the real timer's
    auto owned = std::make_unique<TickCountingTool>();
    TickCountingTool* tool = owned.get();
    session.tools.set(kSprayTool, std::move(owned));
    w.timerTick();
    w.selectTool(kSprayTool);
    w.timerTick();
    EXPECT_TRUE(tool->documents.empty()) << "no image window: nothing to tick";

    addImage();
    ImageWindow* second = addImage();
    w.timerTick();
    ASSERT_EQ(tool->documents.size(), 1u);
    EXPECT_EQ(tool->documents[0], &second->document());
    w.selectTool(kLineTool);
    w.timerTick();
    EXPECT_EQ(tool->documents.size(), 1u) << "only the selected tool ticks";
}

using OptionsMenuTest = MainWindowFixture;

TEST_F(OptionsMenuTest, TogglesHideAndShowTheirObjects)
{
    MainWindow& w = create();
    show();
    struct Toggle {
        const char* item;
        QWidget* target;
    } toggles[] = {{"Paletteprincipale1", w.mainToolBar()},
                   {"Palettedoutils1", w.toolPalette()},
                   {"Palettedecouleurs1", w.colourDock()},
                   {"Statusbar2", w.statusPanels()}};
    for (const Toggle& t : toggles) {
        QAction* a = w.action(t.item);
        ASSERT_TRUE(a->isChecked()) << t.item;
        a->trigger();
        EXPECT_FALSE(a->isChecked()) << t.item;
        EXPECT_TRUE(t.target->isHidden()) << t.item;
        w.optionsMenuOpening();
        EXPECT_FALSE(a->isChecked()) << t.item << " stays unticked when the menu opens again";
        a->trigger();
        EXPECT_FALSE(t.target->isHidden()) << t.item;
    }
    EXPECT_EQ(w.findChild<QWidget*>("Panel3"), w.colourPanel());
    EXPECT_TRUE(w.colourPanel()->isVisible());
}

TEST_F(OptionsMenuTest, ATickFollowsAToolBarClosedOutsideTheMenu)
{
    MainWindow& w = create();
    show();
    // A floating tool bar closed by its own window, or hidden from the tool
    // bars' context menu: the item learns it when the menu opens.
    w.toolPalette()->toggleViewAction()->trigger();
    ASSERT_TRUE(w.toolPalette()->isHidden());
    EXPECT_TRUE(w.action("Palettedoutils1")->isChecked()) << "not yet looked at";
    emit w.menu("Environnement1")->aboutToShow();
    EXPECT_FALSE(w.action("Palettedoutils1")->isChecked());
    EXPECT_TRUE(w.action("Paletteprincipale1")->isChecked());
}

TEST_F(OptionsMenuTest, FlatButtonsAndPanelSide)
{
    MainWindow& w = create();
    show();
    auto raised = [&w](bool flat) {
        for (QToolBar* bar : {w.mainToolBar(), w.toolPalette()})
            for (QAction* a : bar->actions())
                EXPECT_EQ(qobject_cast<QToolButton*>(bar->widgetForAction(a))->autoRaise(), flat)
                    << a->objectName().toStdString();
    };
    raised(false);
    w.action("Bouton3D1")->trigger();
    raised(true);

    EXPECT_EQ(w.dockWidgetArea(w.colourDock()), Qt::RightDockWidgetArea);
    w.action("Emplacementgauche1")->trigger();
    EXPECT_EQ(w.dockWidgetArea(w.colourDock()), Qt::LeftDockWidgetArea);
    EXPECT_FALSE(w.action("Emplacementdroite1")->isChecked());
    w.action("Emplacementdroite1")->trigger();
    EXPECT_EQ(w.dockWidgetArea(w.colourDock()), Qt::RightDockWidgetArea);
    EXPECT_FALSE(w.action("Emplacementgauche1")->isChecked());
}

} // namespace
} // namespace px::test
