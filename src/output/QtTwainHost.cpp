#include "output/QtTwainHost.h"

#include "platform/Prompter.h"

#include <QCoreApplication>
#include <QThread>

namespace px {

QtTwainHost::QtTwainHost(QWidget* mainWindow, Prompter& prompter)
    : mainWindow_(mainWindow), prompter_(prompter), mainWindowShown_(mainWindow && mainWindow->isVisible())
{
}

QtTwainHost::~QtTwainHost() = default;

bool QtTwainHost::isWindow(std::uintptr_t window)
{
    return QWidget::find(WId(window)) != nullptr;
}

std::uintptr_t QtTwainHost::createProxyWindow()
{
    proxy_ = std::make_unique<QWidget>();
    proxy_->setObjectName(QStringLiteral("AcquireProxy"));
    proxy_->setWindowTitle(QStringLiteral("Acquire Proxy"));
    return std::uintptr_t(proxy_->winId());
}

void QtTwainHost::destroyProxyWindow(std::uintptr_t)
{
    proxy_.reset();
}

// Whatever window the manager was given, it is the main window that must
// refuse commands while a source is enabled.
void QtTwainHost::setWindowEnabled(std::uintptr_t, bool enabled)
{
    if (mainWindow_)
        mainWindow_->setEnabled(enabled);
}

bool QtTwainHost::processEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(5);
    // The program is quitting once its main window, shown when the
    // acquisition started, is closed.
    return !QCoreApplication::closingDown() && mainWindow_ && (!mainWindowShown_ || mainWindow_->isVisible());
}

void QtTwainHost::reportError(const std::string& text)
{
    prompter_.message(text, TwainLink::kErrorCaption, MessageKind::Warning);
}

} // namespace px
