// The two states of the main window (no image open, an image open), the
// handlers that run when a top-level menu opens, and the steps of the first
// showing and the first paint.
#include "app/MainWindow.h"

#include "app/StatusBar.h"
#include "app/TipOfTheDayDialog.h"
#include "app/ToolBarRows.h"
#include "document/ImageWindow.h"
#include "platform/SettingsFile.h"
#include "tools/dialogs/ColourPanel.h"

#include <QAction>
#include <QDockWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QToolBar>

#include <initializer_list>

namespace px {

namespace {
// Menus shown only while an image is open.
constexpr const char* kImageMenus[] = {"Image2", "Effets1", "Couleurs1", "Window1"};
// File items shown while an image is open; "&Fermer..." is also enabled then.
constexpr const char* kFileItems[] = {"Fermer1",
                                      "Restaurer1",
                                      "Effacer1",
                                      "Enregistrer1",
                                      "Enregistrersous1",
                                      "Enregistrerlacopiesous1",
                                      "N8",
                                      "Aperuavantimpression1",
                                      "Configurationdelimpression1",
                                      "Imprimer1"};
// Shown with an image; their enabled state belongs to the undo history.
constexpr const char* kHistoryItems[] = {"Annuler1", "Rtablir1"};
// Shown and enabled with an image, hidden and disabled without.
constexpr const char* kEditItems[] = {"Couper1", "Copier1", "Clair1", "Supprimer1", "Touteffacer1", "Slction1"};
// Tool-bar buttons enabled exactly while an image is open.
constexpr const char* kImageButtons[] = {"Enregistrerbut", "Imprimerbut",  "Couperbut",     "Copierbut",
                                         "Infosbut",       "Ecranbut",     "Optioutilsbut", "Choixeffetbut",
                                         "Ajusterrvbbut",  "Nombrecolbut", "Cyclebut"};
} // namespace

void MainWindow::applyImageOpenState()
{
    applyImageState(true);
}

void MainWindow::applyNoImageState()
{
    applyImageState(false);
}

// The two states mirror each other: what an open image shows and enables,
// its absence hides and disables. Only the undo controls differ: with an
// image their state belongs to the history, without one they are off.
void MainWindow::applyImageState(bool open)
{
    imageOpen_ = open;
    for (const char* name : kImageMenus)
        action(name)->setVisible(open);
    for (const char* name : kFileItems)
        action(name)->setVisible(open);
    action("Fermer1")->setEnabled(open);
    action("Enregistrerlamacro1")->setEnabled(open);
    for (const char* name : kHistoryItems)
        action(name)->setVisible(open);
    for (const char* name : kEditItems) {
        action(name)->setVisible(open);
        action(name)->setEnabled(open);
    }
    colourPanel_->setSwatchesEnabled(open);
    for (const char* name : kImageButtons)
        action(name)->setEnabled(open);
    for (const DrawingToolRow& row : drawingToolRows())
        action(row.objectName)->setEnabled(open);
    // The undo buttons mirror their menu items, which the history drives.
    action("Annulerbut")->setEnabled(open && action("Annuler1")->isEnabled());
    action("Retablirbut")->setEnabled(open && action("Rtablir1")->isEnabled());
    statusBar_->setPanelMode(open);
    if (ImageWindow* w = open ? activeImageWindow() : nullptr)
        statusBar_->setPanelText(1, w->filePath());
}

// Fichier1Click: "&Restaurer..." needs a file to go back to; a window that
// was never saved is captioned "Image".
void MainWindow::fileMenuOpening()
{
    QAction* restore = action("Restaurer1");
    if (!restore->isVisible())
        return;
    QMdiSubWindow* sub = mdiArea_->activeSubWindow() ? mdiArea_->activeSubWindow() : mdiArea_->currentSubWindow();
    const QString caption = sub && sub->widget() ? sub->widget()->windowTitle() : QString();
    restore->setEnabled(caption != QLatin1String(ImageWindow::kNewImageCaption));
}

// Edition1Click: the paste and clipboard items follow the clipboard.
void MainWindow::editMenuOpening()
{
    const bool image = clipboardHasImage();
    for (const char* name : {"Coller1", "Slction1", "Vider1"})
        action(name)->setEnabled(image);
}

// Environnement1Click: a tool bar can be hidden without the menu (its
// context menu, or closed while floating), so the ticks are read back from
// the real visibility every time the menu opens.
void MainWindow::optionsMenuOpening()
{
    action("Paletteprincipale1")->setChecked(!panel1_->isHidden());
    action("Palettedoutils1")->setChecked(!panel2_->isHidden());
    action("Palettedecouleurs1")->setChecked(!colourDock_->isHidden());
    action("Statusbar2")->setChecked(!statusBar_->isHidden());
}

// FormShow: the tip-of-the-day setting, the colour read-out, the file named
// on the command line.
void MainWindow::formShow()
{
    const std::string startTip = settings_.readString("Astuces", "Demarrage", "1");
    auto* tip = qobject_cast<TipOfTheDayDialog*>(dialog("TForm6"));
    if (startTip == "0") {
        if (tip)
            tip->setShowAtStartup(false);
        showTipAtStart_ = false;
    } else if (startTip == "1") {
        if (tip)
            tip->setShowAtStartup(true);
        showTipAtStart_ = true;
    }
    colourPanel_->initialiseReadOut();
    // Opened once the main window is on screen, so that an error message about
    // the file appears over the program rather than over an empty desktop.
    if (!options_.startupFile.isEmpty())
        QMetaObject::invokeMethod(
            this, [this] { openImageFile(options_.startupFile); }, Qt::QueuedConnection);
}

// FormPaint: the tip of the day once, at the first paint.
void MainWindow::firstPaint()
{
    if (!showTipAtStart_ || !firstPaintPending_)
        return;
    firstPaintPending_ = false;
    if (QDialog* tip = dialog("TForm6"))
        runModal(*tip);
}

} // namespace px
