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

// Names are unique, parents come first and every row is well formed for its kind.
TEST(CommandTableStructure, EveryRowIsWellFormed)
{
    std::set<std::string> seen;
    std::set<std::string> submenus;
    for (const Command& c : table().commands()) {
        const std::string name = c.row.objectName;
        const std::string caption = c.row.caption;
        EXPECT_FALSE(name.empty());
        EXPECT_TRUE(seen.insert(name).second) << "duplicate " << name;
        if (*c.row.parent) {
            EXPECT_TRUE(submenus.count(c.row.parent))
                << name << " sits under " << c.row.parent << ", not a submenu above it";
        }
        EXPECT_EQ(caption.empty(), c.row.kind == CommandKind::Separator) << name;
        if (c.row.kind == CommandKind::Submenu) {
            submenus.insert(name);
            EXPECT_FALSE(table().children(name).empty()) << "empty submenu " << name;
        }
        if (*c.row.shortcut) {
            EXPECT_EQ(c.row.kind, CommandKind::Item) << name;
            const QKeySequence key(QString::fromUtf8(c.row.shortcut), QKeySequence::PortableText);
            EXPECT_EQ(key.count(), 1) << name << " has an unreadable shortcut " << c.row.shortcut;
        }
        if (*c.row.group) {
            EXPECT_TRUE(c.has(kCheckable)) << name << " is in a radio group but carries no tick";
        }
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

// The object names of the rows under `parent`, separated by spaces.
std::string childNames(const std::string& parent)
{
    std::string names;
    for (const Command* c : table().children(parent))
        names += (names.empty() ? "" : " ") + std::string(c->row.objectName);
    return names;
}

TEST(CommandTableStructure, MenuBarAndFileMenuKeepTheirOrder)
{
    EXPECT_EQ(childNames(""), "Fichier1 Edition1 Environnement1 Image2 Effets1 Couleurs1 Capture1 Window1 Aide1");
    EXPECT_EQ(childNames("Fichier1"),
              "Nouveau1 Ouvrir1 Fermer1 Restaurer1 Effacer1 N2 Enregistrer1 Enregistrersous1 Enregistrerlacopiesous1 "
              "N8 Twain1 N4 Aperuavantimpression1 Configurationdelimpression1 Imprimer1 N11 mru1 mru2 mru3 mru4 "
              "Mrudiv Quitter1");
}

// Rows typed from the menu tree: path of captions, shortcut, start state
// (h hidden, d disabled, t ticked) and hint where the row has one.
struct ExpectedRow {
    const char* name;
    std::vector<std::string> path;
    const char* shortcut;
    const char* state;
    const char* hint;
};

// clang-format off
const ExpectedRow kRows[] = {
    {"Bouton3D1", {"&Options", "&Boutons 3D"}, "", "", nullptr},
    {"Emplacementdroite1", {"&Options", "Palette d'outils", "Emplacement à droite"}, "", "t", nullptr},
    {"Emplacementgauche1", {"&Options", "Palette d'outils", "Emplacement à gauche"}, "", "", nullptr},
    {"Formatsassoci1", {"&Options", "&Formats associés..."}, "", "", "Associé un format à Pixoran3"},
    {"CompressionJpeg1", {"&Options", "&Options jpeg..."}, "", "", "Options des fichiers Jpeg"},
    {"Annulation1", {"&Options", "&Annulation..."}, "", "", "Option de l'annulation"},
    {"Enregistauto1", {"&Options", "&Enregistrement automatique..."}, "", "", "Enregistrement automatique"},
    {"Fermer1", {"&Fichier", "&Fermer..."}, "Ctrl+F", "hd", "Fermer l'image"},
    {"Quitter1", {"&Fichier", "&Quitter"}, "Ctrl+Q", "", "Quitte Pixoran3"},
    {"Acqurir1", {"&Fichier", "&Twain", "&Acquérir..."}, "", "", "Acquérir l'image"},
    {"mru3", {"&Fichier", "mru"}, "", "h", "Fichier récent"},
    {"Rtablir1", {"&Edition", "&Rétablir l'annulation"}, "Ctrl+R", "hd", "Rétablir l'opération"},
    {"Coller1", {"&Edition", "Co&ller", "&Nouvelle image"}, "Ctrl+V", "", "Coller en créant une nouvelle l'image"},
    {"Slction1", {"&Edition", "Co&ller", "&Sélection"}, "Ctrl+S", "hd", nullptr},
    {"Supprimer1", {"&Edition", "&Supprimer"}, "Del", "hd", nullptr},
    {"Curseur1", {"&Image", "&Cur&seur"}, "", "", nullptr},
    {"Noir1", {"&Image", "&Zoom", "&Repère", "&Noir"}, "", "t", nullptr},
    {"Visible1", {"&Image", "&Zoom", "&Visible"}, "", "t", nullptr},
    {"Indexeffets1", {"Effe&ts", "&Index des effets..."}, "Ctrl+I", "", nullptr},
    {"Multplieurchev1", {"Effe&ts", "&Déformations", "&Multiplieur chevauché", "&Multiplieur chevauché"}, "", "", nullptr},
    {"Eclaicirplus1", {"&Couleurs", "Ecla&ircir", "Eclaicir &plus"}, "", "", nullptr},
    {"N16millions24bit1", {"&Couleurs", "&Formats des pixels", "16 &millions (24 bit)"}, "", "", nullptr},
    {"Capturer1", {"C&apture", "&Capturer"}, "Ctrl+R", "", "Capturer un écran"},
    {"Horizontale1", {"Fe&nêtre", "Mosaïque  &horizontale"}, "", "", nullptr},
    {"Aideenligne1", {"&Aide", "&Aide Pixoran3"}, "F1", "", nullptr},
    {"SitePixoran31", {"&Aide", "&En ligne", "&Site Pixoran3"}, "", "", nullptr},
};
// clang-format on

TEST(CommandTableRows, MatchTheMenuTree)
{
    for (const ExpectedRow& e : kRows) {
        SCOPED_TRACE(e.name);
        const Command* c = table().find(e.name);
        ASSERT_NE(c, nullptr);
        const std::string state = e.state;
        EXPECT_EQ(table().path(e.name), e.path);
        EXPECT_EQ(std::string(c->row.shortcut), e.shortcut);
        EXPECT_EQ(c->has(kHidden), state.find('h') != std::string::npos);
        EXPECT_EQ(c->has(kDisabled), state.find('d') != std::string::npos);
        EXPECT_EQ(c->has(kTicked), state.find('t') != std::string::npos);
        if (e.hint) {
            EXPECT_EQ(std::string(c->row.hint), e.hint);
        }
    }
}

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
