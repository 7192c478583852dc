// The frame every effect command runs in, the handlers of every effect row,
// the dialogs that supply the values of the rows that have some, and the
// colour count.
//
// Frame: hour-glass, active image window, undo snapshot, undo controls,
// routine (with the 24-bit conversion the row asks for), repaint and
// overview, normal cursor. A routine's run-time error is shown to the user;
// the document keeps its state and the snapshot stays in the history.
#include "app/EditingCommands.h"
#include "app/MainWindow.h"
#include "document/ImageWindow.h"
#include "effects/ColourCount.h"
#include "effects/dialogs/AdjustmentDialogs.h"
#include "effects/dialogs/CustomFilterDialog.h"
#include "effects/Parallel.h"
#include "platform/Prompter.h"
#include "platform/qt/BusyCursor.h"

#include <QApplication>

#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace px {

namespace {

// Rows whose values come from a track-bar dialog, with that dialog.
const std::map<std::string, const char*, std::less<>> kAdjustmentDialogs = {
    {"Luminosit1", "TForm9"}, {"Contraste2", "TForm7"},  {"Saturation3", "TForm34"},
    {"Eclipse3", "TForm35"},  {"Eclaircir3", "TForm42"}, {"AjusterRVB1", "TForm38"},
};


EffectContext contextFor(Session& session, ImageWindow& image)
{
    return {.mainColour = session.mainColour,
            .backgroundColour = session.backgroundColour,
            .brushColour = image.canvas().brushColour(),
            .random = &session.random};
}

void takeSnapshot(MainWindow& window, ImageWindow& image)
{
    window.session().history.SaveUndoState(image.document());
    syncUndoControls(window);
}

// Runs `step` on the document, then repaints. True when the step succeeded;
// a failure is shown once the normal cursor is back.
bool applyStep(MainWindow& window, ImageWindow& image, const std::function<void(Bitmap&)>& step)
{
    std::optional<std::string> failure;
    {
        const BusyCursor busy;
        try {
            step(image.document());
        } catch (const std::exception& e) {
            failure = e.what();
        }
        refreshAfterEdit(image);
    }
    if (failure)
        window.session().prompter.error(*failure);
    return !failure;
}

// The whole frame for one row and its values on the active window. An empty
// document (a new image of width or height 0) has no pixels to change: the
// command does nothing.
bool runFrame(MainWindow& window, const EffectCommand& command, std::function<std::vector<int>()> values)
{
    ImageWindow* image = window.activeImageWindow();
    if (!image || image->document().isEmpty())
        return false;
    Session& session = window.session();
    const EffectContext context = contextFor(session, *image);
    takeSnapshot(window, *image);
    return applyStep(window, *image, [&](Bitmap& document) {
        const std::vector<int> v = values();
        applyEffect(command, document, context, v, session.effectScratch);
    });
}

const EffectCommand& rowOf(MainWindow& window, const char* name)
{
    const EffectCommand* command = window.effects().find(name);
    if (!command)
        throw std::out_of_range(std::string("no effect row ") + name);
    return *command;
}

AdjustmentDialog* makeAdjustmentDialog(MainWindow& owner, AdjustmentDialogSetup setup, const char* row)
{
    return new AdjustmentDialog(std::move(setup), rowOf(owner, row), owner.session().prompter, &owner);
}

// Filtre1Click: TForm27 on the active image; OK applies the typed kernel.
// A field that is not a whole number is reported after the snapshot, as a
// divisor of 0 is, and the image stays as it was.
void runCustomFilter(MainWindow& window)
{
    ImageWindow* image = window.activeImageWindow();
    auto* dialog = qobject_cast<CustomFilterDialog*>(window.dialog("TForm27"));
    if (!image || !dialog)
        return;
    dialog->load(image->document(), contextFor(window.session(), *image));
    const int result = window.runModal(*dialog);
    dialog->unload();
    if (result != QDialog::Accepted)
        return;
    runFrame(window, dialog->command(), [dialog] {
        std::string error;
        auto values = dialog->readValues(error);
        if (!values)
            throw EffectError(error);
        return *values;
    });
}

// Teinte1Click: the snapshot comes before the colour dialog, so a cancelled
// choice still leaves a step in the history.
void runTint(MainWindow& window, Colour& dialogColour)
{
    ImageWindow* image = window.activeImageWindow();
    if (!image || image->document().isEmpty())
        return;
    takeSnapshot(window, *image);
    const auto chosen = window.session().prompter.chooseColour(dialogColour);
    if (!chosen)
        return;
    dialogColour = *chosen;
    const int value = int(*chosen);
    Session& session = window.session();
    const EffectContext context = contextFor(session, *image);
    const EffectCommand& command = rowOf(window, "Teinte1");
    applyStep(window, *image, [&](Bitmap& document) {
        applyEffect(command, document, context, std::span(&value, 1), session.effectScratch);
    });
}

// Colorisation1Click: the colour first; the frame runs only on a choice.
void runColourise(MainWindow& window, Colour& dialogColour)
{
    if (!window.activeImageWindow())
        return;
    const auto chosen = window.session().prompter.chooseColour(dialogColour);
    if (!chosen)
        return;
    dialogColour = *chosen;
    const int value = int(*chosen);
    runFrame(window, rowOf(window, "Colorisation1"), [value] { return std::vector<int>{value}; });
}

// Nombres1Click: the distinct colours as shown; no undo step.
void countColoursCommand(MainWindow& window)
{
    ImageWindow* image = window.activeImageWindow();
    if (!image)
        return;
    int count = 0;
    {
        const BusyCursor busy;
        count = countColours(image->document(), effectThreadCount());
    }
    window.session().prompter.message(colourCountMessage(count), std::string(), MessageKind::Information);
}

} // namespace

bool runEffect(MainWindow& window, std::string_view name, std::span<const int> values)
{
    const EffectCommand* command = window.effects().find(std::string(name));
    if (!command || !checkEffectValues(*command, values).empty())
        return false;
    const std::vector<int> copy(values.begin(), values.end());
    return runFrame(window, *command, [copy] { return copy; });
}

void runAdjustmentDialog(MainWindow& window, std::string_view dialogName, std::string_view commandName)
{
    ImageWindow* image = window.activeImageWindow();
    auto* dialog = qobject_cast<AdjustmentDialog*>(window.dialog(dialogName));
    const EffectCommand* command = window.effects().find(std::string(commandName));
    if (!image || !dialog || !command)
        return;
    dialog->load(image->document(), contextFor(window.session(), *image));
    const int result = window.runModal(*dialog);
    if (result == QDialog::Accepted) {
        if (!dialog->appliesNothing()) {
            const std::vector<int> values = dialog->values();
            runFrame(window, *command, [values] { return values; });
        }
        refreshAfterEdit(*image);
    }
    // OK (after applying) and Annuler both leave the track bars at 0.
    dialog->resetPositions();
    dialog->unload();
}

void registerEffectCommands(MainWindow& window)
{
    CommandTable& commands = window.commands();
    // ColorDialog1 starts from the colour chosen last.
    auto dialogColour = std::make_shared<Colour>(kBlack);
    for (const EffectCommand& row : window.effects().all()) {
        const std::string name = row.name;
        if (row.parameters.empty()) {
            commands.setHandler(name, [&window, name] { runEffect(window, name, {}); });
        } else if (auto it = kAdjustmentDialogs.find(name); it != kAdjustmentDialogs.end()) {
            const std::string dialog = it->second;
            commands.setHandler(name, [&window, dialog, name] { runAdjustmentDialog(window, dialog, name); });
        } else if (name == "Filtre1") {
            commands.setHandler(name, [&window] { runCustomFilter(window); });
        } else if (name == "Teinte1") {
            commands.setHandler(name, [&window, dialogColour] { runTint(window, *dialogColour); });
        } else if (name == "Colorisation1") {
            commands.setHandler(name, [&window, dialogColour] { runColourise(window, *dialogColour); });
        }
        // Any other row with values gets its handler from the feature that
        // builds its dialog.
    }
    commands.setHandler("Nombres1", [&window] { countColoursCommand(window); });
}

QDialog* createBrightnessDialog(MainWindow& owner)
{
    return makeAdjustmentDialog(owner, brightnessDialogSetup(), "Luminosit1");
}
QDialog* createContrastDialog(MainWindow& owner)
{
    return makeAdjustmentDialog(owner, contrastDialogSetup(), "Contraste2");
}
QDialog* createSaturationDialog(MainWindow& owner)
{
    return makeAdjustmentDialog(owner, saturationDialogSetup(), "Saturation3");
}
QDialog* createEclipseDialog(MainWindow& owner)
{
    return makeAdjustmentDialog(owner, eclipseDialogSetup(), "Eclipse3");
}
QDialog* createBrightenDialog(MainWindow& owner)
{
    return makeAdjustmentDialog(owner, brightenDialogSetup(), "Eclaircir3");
}
QDialog* createRgbDialog(MainWindow& owner)
{
    return makeAdjustmentDialog(owner, rgbDialogSetup(), "AjusterRVB1");
}
QDialog* createCustomFilterDialog(MainWindow& owner)
{
    return new CustomFilterDialog(rowOf(owner, "Filtre1"), owner.session().prompter, &owner);
}

} // namespace px
