#pragma once
// The TWAIN link's host in the running program: a hidden proxy window for
// the manager, the main window refusing input while the source's dialog
// runs, the program's event loop turned between offers to the source, and
// the "TWAIN Error" box through the prompter.
#include "output/TwainLink.h"

#include <QPointer>
#include <QWidget>

#include <memory>

namespace px {

class Prompter;

class QtTwainHost : public TwainHost {
public:
    QtTwainHost(QWidget* mainWindow, Prompter& prompter);
    ~QtTwainHost() override;

    bool isWindow(std::uintptr_t window) override;
    std::uintptr_t createProxyWindow() override;
    void destroyProxyWindow(std::uintptr_t window) override;
    void setWindowEnabled(std::uintptr_t window, bool enabled) override;
    bool processEvents() override;
    void reportError(const std::string& text) override;

private:
    QPointer<QWidget> mainWindow_;
    Prompter& prompter_;
    std::unique_ptr<QWidget> proxy_;
    bool mainWindowShown_;
};

} // namespace px
