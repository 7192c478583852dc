#pragma once
// A main window with one image window holding a chosen document, and
// short-hands for the undo controls and the histories.
#include "app/MainWindowFixture.h"

#include <QAction>
#include <QPushButton>

#include <functional>

namespace px::test {

inline Bitmap uniformBitmap(int width, int height, Colour colour)
{
    Bitmap b(width, height, 24);
    b.fill(colour);
    return b;
}

class EditingFixture : public MainWindowFixture {
protected:
    // A window on `document`, created (so the histories are empty) and active.
    ImageWindow* open(Bitmap document)
    {
        if (!window)
            create();
        auto* w = new ImageWindow(session);
        w->setDocument(std::move(document));
        window->addImageWindow(w);
        QCoreApplication::processEvents();
        return w;
    }

    void trigger(const char* name) { window->action(name)->trigger(); }
    bool enabled(const char* name) const { return window->action(name)->isEnabled(); }
    int undoSteps() const { return session.history.undoHistory().count(); }
    int redoSteps() const { return session.history.redoHistory().count(); }

    // The next modal dialog is handled by `script`, which returns its result.
    void onDialog(std::function<int(QDialog&)> script) { window->runModal = std::move(script); }

    static void click(QDialog& dialog, const char* button)
    {
        auto* b = dialog.findChild<QPushButton*>(QLatin1String(button));
        ASSERT_NE(b, nullptr) << button;
        b->click();
    }
};

} // namespace px::test
