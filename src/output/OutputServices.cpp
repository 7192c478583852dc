#include "output/OutputServices.h"

#include "output/SaneScanner.h"
#include "output/TwainLibrary.h"
#include "output/X11TriggerPoller.h"
#include "platform/qt/QtPrinter.h"
#include "platform/qt/QtScreenGrabber.h"

#include <QGuiApplication>

namespace px {

namespace {
// Global polling needs an X11 desktop; a Wayland session's X11 server sees
// only the input given to X11 programs.
bool onX11Desktop()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return false;
    return qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
           qgetenv("XDG_SESSION_TYPE") != QByteArrayLiteral("wayland");
}
} // namespace

std::unique_ptr<OutputServices> OutputServices::system(QWidget* dialogParent)
{
    auto services = std::make_unique<OutputServices>();
    services->printer = std::make_unique<QtPrinter>(dialogParent);
    services->screen = std::make_unique<QtScreenGrabber>();
    services->triggers = std::make_unique<X11TriggerPoller>(onX11Desktop());
    services->twainManager = std::make_unique<TwainLibrary>();
    services->scanners = std::make_unique<SaneScanner>();
    return services;
}

} // namespace px
