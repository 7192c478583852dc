// The command table as data: its structure is checked row by row from the
// table itself, and a representative set of rows against values typed from
// the program's menu tree.
#include "app/CommandTable.h"

#include <QKeySequence>
#include <QString>

#include <gtest/gtest.h>

#include <algorithm>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace px {
namespace {

const CommandTable& table()
{
    static const CommandTable t = CommandTable::standard();
    return t;
}

TEST(CommandTableStructure, NamesAreUniqueAndParentsComeFirst)
{
    std::set<std::string> seen;
    std::set<std::string> submenus;
    for (const Command& c : table().commands()) {
        const std::string name = c.row.objectName;
        EXPECT_FALSE(name.empty());
        EXPECT_TRUE(seen.insert(name).second) << "duplicate " << name;
        const std::string parent = c.row.parent;
        if (!parent.empty())
            EXPECT_TRUE(submenus.count(parent)) << name << " sits under " << parent << ", not a submenu above it";
        if (c.row.kind == CommandKind::Submenu)
            submenus.insert(name);
    }
}

TEST(CommandTableStructure, EveryRowIsWellFormedForItsKind)
{
    for (const Command& c : table().commands()) {
        const std::string name = c.row.objectName;
        const std::string caption = c.row.caption;
        switch (c.row.kind) {
        case CommandKind::Separator:
            EXPECT_TRUE(caption.empty()) << name;
            EXPECT_EQ(std::string(c.row.shortcut), "") << name;
            break;
        case CommandKind::Submenu:
            EXPECT_FALSE(caption.empty()) << name;
            EXPECT_FALSE(table().children(name).empty()) << "empty submenu " << name;
            break;
        case CommandKind::Item:
            EXPECT_FALSE(caption.empty()) << name;
            if (*c.row.shortcut) {
                const QKeySequence key(QString::fromUtf8(c.row.shortcut), QKeySequence::PortableText);
                EXPECT_EQ(key.count(), 1) << name << " has an unreadable shortcut " << c.row.shortcut;
            }
            break;
        }
        if (*c.row.group)
            EXPECT_TRUE(c.has(kCheckable)) << name << " is in a radio group but carries no tick";
    }
}

TEST(CommandTableStructure, EachRadioGroupHasExactlyOneTickedItemInOneMenu)
{
    std::map<std::string, int> ticked;
    std::map<std::string, std::set<std::string>> parents;
    for (const Command& c : table().commands())
        if (*c.row.group) {
            ticked[c.row.group] += c.has(kTicked) ? 1 : 0;
            parents[c.row.group].insert(c.row.parent);
        }
    EXPECT_EQ(ticked.size(), 4u); // panel side, cursor, magnifier side, cross-hair
    for (const auto& [group, count] : ticked) {
        EXPECT_EQ(count, 1) << group;
        EXPECT_EQ(parents[group].size(), 1u) << group;
    }
}

TEST(CommandTableStructure, MenuBarHoldsTheNineMenusInDisplayOrder)
{
    std::vector<std::string> names;
    for (const Command* c : table().children(""))
        names.push_back(c->row.objectName);
    const std::vector<std::string> expected = {"Fichier1", "Edition1", "Environnement1", "Image2", "Effets1",
                                               "Couleurs1", "Capture1", "Window1", "Aide1"};
    EXPECT_EQ(names, expected);
}

TEST(CommandTableStructure, FileMenuKeepsItsOrder)
{
    std::vector<std::string> names;
    for (const Command* c : table().children("Fichier1"))
        names.push_back(c->row.objectName);
    const std::vector<std::string> expected = {
        "Nouveau1", "Ouvrir1", "Fermer1", "Restaurer1", "Effacer1", "N2", "Enregistrer1", "Enregistrersous1",
        "Enregistrerlacopiesous1", "N8", "Twain1", "N4", "Aperuavantimpression1", "Configurationdelimpression1",
        "Imprimer1", "N11", "mru1", "mru2", "mru3", "mru4", "Mrudiv", "Quitter1"};
    EXPECT_EQ(names, expected);
}

// Rows typed from the menu tree: path of captions, shortcut, start state.
struct ExpectedRow {
    const char* name;
    std::vector<std::string> path;
    const char* shortcut;
    bool hidden, disabled, ticked;
    const char* hint;
};

class CommandRowTest : public ::testing::TestWithParam<ExpectedRow> {};

TEST_P(CommandRowTest, MatchesTheMenuTree)
{
    const ExpectedRow& e = GetParam();
    const Command* c = table().find(e.name);
    ASSERT_NE(c, nullptr) << e.name;
    EXPECT_EQ(table().path(e.name), e.path);
    EXPECT_EQ(std::string(c->row.shortcut), e.shortcut);
    EXPECT_EQ(c->has(kHidden), e.hidden);
    EXPECT_EQ(c->has(kDisabled), e.disabled);
    EXPECT_EQ(c->has(kTicked), e.ticked);
    if (e.hint)
        EXPECT_EQ(std::string(c->row.hint), e.hint);
}

INSTANTIATE_TEST_SUITE_P(
    TopLevelMenus, CommandRowTest,
    ::testing::Values(ExpectedRow{"Fichier1", {"&Fichier"}, "", false, false, false, nullptr},
                      ExpectedRow{"Edition1", {"&Edition"}, "", false, false, false, nullptr},
                      ExpectedRow{"Environnement1", {"&Options"}, "", false, false, false, nullptr},
                      ExpectedRow{"Image2", {"&Image"}, "", true, false, false, nullptr},
                      ExpectedRow{"Effets1", {"Effe&ts"}, "", true, false, false, nullptr},
                      ExpectedRow{"Couleurs1", {"&Couleurs"}, "", true, false, false, nullptr},
                      ExpectedRow{"Capture1", {"C&apture"}, "", false, false, false, nullptr},
                      ExpectedRow{"Window1", {"Fe&nêtre"}, "", true, false, false, nullptr},
                      ExpectedRow{"Aide1", {"&Aide"}, "", false, false, false, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    OptionsMenu, CommandRowTest,
    ::testing::Values(
        ExpectedRow{"Paletteprincipale1", {"&Options", "&Palette principale"}, "", false, false, true, nullptr},
        ExpectedRow{"Palettedoutils1", {"&Options", "P&alette d'outils"}, "", false, false, true, nullptr},
        ExpectedRow{"Palettedecouleurs1", {"&Options", "Pa&lette de couleurs"}, "", false, false, true, nullptr},
        ExpectedRow{"Statusbar2", {"&Options", "&Barre d'état"}, "", false, false, true, nullptr},
        ExpectedRow{"Bouton3D1", {"&Options", "&Boutons 3D"}, "", false, false, false, nullptr},
        ExpectedRow{"Emplacementdroite1",
                    {"&Options", "Palette d'outils", "Emplacement à droite"}, "", false, false, true, nullptr},
        ExpectedRow{"Emplacementgauche1",
                    {"&Options", "Palette d'outils", "Emplacement à gauche"}, "", false, false, false, nullptr},
        ExpectedRow{"Formatsassoci1", {"&Options", "&Formats associés..."}, "", false, false, false,
                    "Associé un format à Pixoran3"},
        ExpectedRow{"CompressionJpeg1", {"&Options", "&Options jpeg..."}, "", false, false, false,
                    "Options des fichiers Jpeg"},
        ExpectedRow{"Annulation1", {"&Options", "&Annulation..."}, "", false, false, false,
                    "Option de l'annulation"},
        ExpectedRow{"Enregistauto1", {"&Options", "&Enregistrement automatique..."}, "", false, false, false,
                    "Enregistrement automatique"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    OtherMenus, CommandRowTest,
    ::testing::Values(
        ExpectedRow{"Fermer1", {"&Fichier", "&Fermer..."}, "Ctrl+F", true, true, false, "Fermer l'image"},
        ExpectedRow{"Quitter1", {"&Fichier", "&Quitter"}, "Ctrl+Q", false, false, false, "Quitte Pixoran3"},
        ExpectedRow{"Acqurir1", {"&Fichier", "&Twain", "&Acquérir..."}, "", false, false, false, "Acquérir l'image"},
        ExpectedRow{"mru3", {"&Fichier", "mru"}, "", true, false, false, "Fichier récent"},
        ExpectedRow{"Rtablir1", {"&Edition", "&Rétablir l'annulation"}, "Ctrl+R", true, true, false,
                    "Rétablir l'opération"},
        ExpectedRow{"Coller1", {"&Edition", "Co&ller", "&Nouvelle image"}, "Ctrl+V", false, false, false,
                    "Coller en créant une nouvelle l'image"},
        ExpectedRow{"Slction1", {"&Edition", "Co&ller", "&Sélection"}, "Ctrl+S", true, true, false, nullptr},
        ExpectedRow{"Supprimer1", {"&Edition", "&Supprimer"}, "Del", true, true, false, nullptr},
        ExpectedRow{"Curseur1", {"&Image", "&Cur&seur"}, "", false, false, false, nullptr},
        ExpectedRow{"Noir1", {"&Image", "&Zoom", "&Repère", "&Noir"}, "", false, false, true, nullptr},
        ExpectedRow{"Visible1", {"&Image", "&Zoom", "&Visible"}, "", false, false, true, nullptr},
        ExpectedRow{"Indexeffets1", {"Effe&ts", "&Index des effets..."}, "Ctrl+I", false, false, false, nullptr},
        ExpectedRow{"Multplieurchev1",
                    {"Effe&ts", "&Déformations", "&Multiplieur chevauché", "&Multiplieur chevauché"}, "", false,
                    false, false, nullptr},
        ExpectedRow{"Laplace1", {"Effe&ts", "&Filtres", "&Laplace"}, "", false, false, false, nullptr},
        ExpectedRow{"Eclaicirplus1", {"&Couleurs", "Ecla&ircir", "Eclaicir &plus"}, "", false, false, false,
                    nullptr},
        ExpectedRow{"N16millions24bit1", {"&Couleurs", "&Formats des pixels", "16 &millions (24 bit)"}, "", false,
                    false, false, nullptr},
        ExpectedRow{"Capturer1", {"C&apture", "&Capturer"}, "Ctrl+R", false, false, false, "Capturer un écran"},
        ExpectedRow{"Horizontale1", {"Fe&nêtre", "Mosaïque  &horizontale"}, "", false, false, false, nullptr},
        ExpectedRow{"Toutfermer1", {"Fe&nêtre", "&Tout fermer"}, "", false, false, false, nullptr},
        ExpectedRow{"Aideenligne1", {"&Aide", "&Aide Pixoran3"}, "F1", false, false, false, nullptr},
        ExpectedRow{"SitePixoran31", {"&Aide", "&En ligne", "&Site Pixoran3"}, "", false, false, false, nullptr},
        ExpectedRow{"Apropos1", {"&Aide", "A &propos..."}, "", false, false, false, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandTableHandlers, UnknownNamesAndMissingHandlersAreReported)
{
    CommandTable t = CommandTable::standard();
    EXPECT_THROW(t.setHandler("Nouveau2", [] {}), std::out_of_range);
    EXPECT_THROW(t.setHandler("Fichier1", [] {}), std::out_of_range) << "a submenu runs no command";
    EXPECT_FALSE(t.run("Nouveau1")) << "no handler yet: nothing runs";
    EXPECT_FALSE(t.run("Nouveau2"));

    const auto missing = t.withoutHandler();
    EXPECT_NE(std::find(missing.begin(), missing.end(), "Nouveau1"), missing.end());
    EXPECT_EQ(std::find(missing.begin(), missing.end(), "N2"), missing.end()) << "separators are not commands";

    int runs = 0;
    t.setHandler("Nouveau1", [&runs] { ++runs; });
    EXPECT_TRUE(t.run("Nouveau1"));
    EXPECT_EQ(runs, 1);
    const auto after = t.withoutHandler();
    EXPECT_EQ(after.size() + 1, missing.size());
}

TEST(CommandTableHandlers, AHandlerMayReplaceItselfWhileRunning)
{
    CommandTable t = CommandTable::standard();
    int second = 0;
    t.setHandler("Vider1", [&] { t.setHandler("Vider1", [&second] { ++second; }); });
    EXPECT_TRUE(t.run("Vider1"));
    EXPECT_TRUE(t.run("Vider1"));
    EXPECT_EQ(second, 1);
}

} // namespace
} // namespace px
