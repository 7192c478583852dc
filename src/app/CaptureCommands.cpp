// Screen capture: "&Setup..." with TForm11 and "&Capturer".
#include "app/MainWindow.h"
#include "app/OutputCommands.h"
#include "app/WindowMenu.h"
#include "output/CaptureSequence.h"
#include "output/CaptureSetupDialog.h"
#include "output/OutputServices.h"
#include "platform/Prompter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>

namespace px {

namespace {
class WindowCaptureHost : public CaptureHost {
public:
    explicit WindowCaptureHost(MainWindow& window) : window_(window), shown_(window.isVisible()) {}

    void minimise() override
    {
        state_ = window_.windowState();
        window_.showMinimized();
    }
    void restore() override
    {
        window_.setWindowState((state_ & ~Qt::WindowMinimized) | Qt::WindowActive);
        window_.show();
        window_.raise();
        window_.activateWindow();
        cascade(window_.mdiArea());
    }
    // The program keeps handling its events while it waits; it is quitting
    // once its main window, shown at the start, has closed.
    bool wait(int milliseconds) override
    {
        QElapsedTimer clock;
        clock.start();
        do {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            if (quitting())
                return false;
            const qint64 left = milliseconds - clock.elapsed();
            if (left > 0)
                QThread::msleep(unsigned(std::min<qint64>(left, 5)));
        } while (clock.elapsed() < milliseconds);
        return !quitting();
    }
    void showCapture(Bitmap bitmap) override { showNewImage(window_, std::move(bitmap)); }
    void message(const std::string& text) override { window_.session().prompter.message(text, "Capture"); }

private:
    bool quitting() const { return QCoreApplication::closingDown() || (shown_ && !window_.isVisible()); }

    MainWindow& window_;
    bool shown_;
    Qt::WindowStates state_;
};

void capture(MainWindow& window)
{
    auto* setup = qobject_cast<CaptureSetupDialog*>(window.dialog("TForm11"));
    const CaptureOptions options = setup ? setup->options() : CaptureOptions{};
    OutputServices& services = window.outputServices();
    WindowCaptureHost host(window);
    runCapture(options, host, *services.screen, *services.triggers);
}

} // namespace

QDialog* createCaptureSetup(MainWindow& owner)
{
    return new CaptureSetupDialog(owner.settings(), owner.session().prompter, &owner);
}

void registerCaptureCommands(MainWindow& window)
{
    CommandTable& commands = window.commands();
    // "&Setup...": only "Capturer" (the OK result) goes on to capture.
    commands.setHandler("Setup1", [&window] {
        QDialog* setup = window.dialog("TForm11");
        if (setup && window.runModal(*setup) == QDialog::Accepted)
            capture(window);
    });
    commands.setHandler("Capturer1", [&window] { capture(window); });
}

} // namespace px
