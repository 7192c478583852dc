// The frame every effect command runs in, the handlers of every effect row
// (chosen by the row's binding: at once, through its dialog, or through the
// colour dialog), and the colour count.
//
// Frame: hour-glass, active image window, undo snapshot, undo controls,
// routine (with the 24-bit conversion the row asks for), repaint and
// overview, normal cursor. A routine's run-time error is shown to the user;
// the document keeps its state and the snapshot stays in the history.
#include "app/EditingCommands.h"
#include "app/MainWindow.h"
#include "app/WindowMenu.h"
#include "document/ImageWindow.h"
#include "effects/ColourCount.h"
#include "effects/dialogs/EffectDialog.h"
#include "effects/Parallel.h"
#include "platform/Prompter.h"
#include "platform/qt/BusyCursor.h"

#include <QApplication>
#include <QMdiSubWindow>

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace px {

namespace {

// The window follows a row that changed its document's size: its client
// area takes the new size, or every image window is cascaded.
void followDocument(MainWindow& window, ImageWindow& image, const EffectCommand& command)
{
    switch (command.windowAfter) {
    case WindowAfterEffect::Keep:
        break;
    case WindowAfterEffect::FitDocument: {
        const QSize client(image.document().width(), image.document().height());
        if (auto* sub = qobject_cast<QMdiSubWindow*>(image.parentWidget()))
            sub->resize(client.grownBy(sub->contentsMargins()));
        else
            image.resize(client);
        break;
    }
    case WindowAfterEffect::Cascade:
        cascade(window.mdiArea());
        break;
    }
}

void takeSnapshot(MainWindow&, ImageWindow& image)
{
    image.saveUndoState(); // the undo controls follow its signal
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

// Applies the row to the active window's document with the values `values`
// gives (read once the snapshot is taken, so a value that cannot be read
// leaves the snapshot in the history as a failing routine does).
bool applyRow(MainWindow& window, ImageWindow& image, const EffectCommand& command,
              const std::function<std::vector<int>()>& values)
{
    const EffectContext context = effectContextFor(window.session(), image);
    RandomGenerator& random = window.session().random;
    const bool applied = applyStep(window, image, [&](Bitmap& document) {
        const std::vector<int> v = values();
        const std::uint32_t before = random.state();
        applyEffect(command, document, context, v, window.effectScratch());
        // The step the snapshot stands for, as a macro replays it: with the
        // colours, and the generator's state when the command drew from it.
        BatchStep step{.command = &command,
                       .values = v,
                       .mainColour = context.mainColour,
                       .backgroundColour = context.backgroundColour};
        if (random.state() != before)
            step.seed = before;
        image.macroRecord().setLast(std::move(step));
    });
    if (applied)
        followDocument(window, image, command);
    return applied;
}

// The whole frame for one row and its values on the active window. An empty
// document (a new image of width or height 0) has no pixels to change: the
// command does nothing.
bool runFrame(MainWindow& window, const EffectCommand& command, const std::function<std::vector<int>()>& values)
{
    ImageWindow* image = window.activeImageWindow();
    if (!image || image->document().isEmpty())
        return false;
    takeSnapshot(window, *image);
    return applyRow(window, *image, command, values);
}

// A TrackBars or Dialog row: its dialog on the active image; OK applies the
// row with the dialog's values, unless the dialog says OK applies nothing.
// The views are refreshed after every OK. A row that takes its snapshot
// before the dialog keeps it whatever the answer.
void runDialog(MainWindow& window, const EffectCommand& command)
{
    ImageWindow* image = window.activeImageWindow();
    auto* dialog = qobject_cast<EffectDialog*>(window.dialog(command.dialog));
    if (!image || !dialog)
        return;
    const bool snapshotFirst = command.snapshotBeforeDialog && !image->document().isEmpty();
    if (snapshotFirst)
        takeSnapshot(window, *image);
    dialog->load(image->document(), effectContextFor(window.session(), *image));
    if (window.runModal(*dialog) == QDialog::Accepted) {
        const auto values = [dialog] { return dialog->acceptedValues(); };
        if (!dialog->appliesNothing()) {
            if (snapshotFirst)
                applyRow(window, *image, command, values);
            else
                runFrame(window, command, values);
        }
        refreshAfterEdit(*image);
    }
    dialog->finish();
}

// A Colour row: the colour dialog starts from the colour chosen last (by any
// colour row); the row runs only on a choice. A row that takes its snapshot
// before the dialog keeps it even when the choice is cancelled.
void runColourChoice(MainWindow& window, const EffectCommand& command, Colour& dialogColour)
{
    ImageWindow* image = window.activeImageWindow();
    if (!image)
        return;
    const bool snapshotFirst = command.snapshotBeforeDialog;
    if (snapshotFirst) {
        if (image->document().isEmpty())
            return;
        takeSnapshot(window, *image);
    }
    const auto chosen = window.session().prompter.chooseColour(dialogColour);
    if (!chosen)
        return;
    dialogColour = *chosen;
    const std::vector<int> value{int(*chosen)};
    if (snapshotFirst)
        applyRow(window, *image, command, [&value] { return value; });
    else
        runFrame(window, command, [&value] { return value; });
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

EffectContext effectContextFor(Session& session, ImageWindow& image)
{
    return {.mainColour = session.mainColour,
            .backgroundColour = session.backgroundColour,
            .brushColour = image.canvas().brushColour(),
            .random = &session.random,
            .canvas = &image.canvas()};
}

bool runEffect(MainWindow& window, std::string_view name, std::span<const int> values)
{
    const EffectCommand* command = window.effects().find(std::string(name));
    if (!command || !checkEffectValues(*command, values).empty())
        return false;
    const std::vector<int> copy(values.begin(), values.end());
    return runFrame(window, *command, [&copy] { return copy; });
}

void registerEffectCommands(MainWindow& window)
{
    CommandTable& commands = window.commands();
    auto dialogColour = std::make_shared<Colour>(kBlack);
    for (const EffectCommand& row : window.effects().all()) {
        const EffectCommand* command = &row;
        CommandHandler handler;
        switch (row.binding) {
        case EffectBinding::None:
            handler = [&window, command] { runFrame(window, *command, [] { return std::vector<int>(); }); };
            break;
        case EffectBinding::TrackBars:
        case EffectBinding::Dialog:
            handler = [&window, command] { runDialog(window, *command); };
            break;
        case EffectBinding::Colour:
            handler = [&window, command, dialogColour] { runColourChoice(window, *command, *dialogColour); };
            break;
        }
        commands.setHandler(row.name, std::move(handler));
    }
    commands.setHandler("Nombres1", [&window] { countColoursCommand(window); });
}

} // namespace px
