#pragma once
// The fake TWAIN manager library of the test tree, named to the program by
// $PIXORAN3_TWAIN_DSM, and its control functions, reached through a handle
// of the test's own that keeps the library (and its record of calls)
// loaded while the program loads and unloads it.
#include "FakeTwainDsm.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace px::test {

class FakeTwain {
public:
    FakeTwain()
    {
        handle_ = dlopen(PIXORAN3_FAKE_TWAIN_DSM, RTLD_NOW | RTLD_LOCAL);
        reset_ = reinterpret_cast<decltype(reset_)>(dlsym(handle_, "FakeTwain_Reset"));
        log_ = reinterpret_cast<decltype(log_)>(dlsym(handle_, "FakeTwain_Log"));
        origin_ = reinterpret_cast<decltype(origin_)>(dlsym(handle_, "FakeTwain_Origin"));
        parent_ = reinterpret_cast<decltype(parent_)>(dlsym(handle_, "FakeTwain_Parent"));
        ui_ = reinterpret_cast<decltype(ui_)>(dlsym(handle_, "FakeTwain_UserInterface"));
        setenv("PIXORAN3_TWAIN_DSM", PIXORAN3_FAKE_TWAIN_DSM, 1);
    }
    ~FakeTwain()
    {
        unsetenv("PIXORAN3_TWAIN_DSM");
        if (handle_)
            dlclose(handle_);
    }
    bool loaded() const { return reset_ && log_; }
    void script(const FakeTwainScript& s) { reset_(&s); }
    std::string log() const { return log_(); }
    const twain::TW_IDENTITY& origin() const { return *origin_(); }
    const void* parent() const { return parent_(); }
    const twain::TW_USERINTERFACE& userInterface() const { return *ui_(); }

private:
    void* handle_ = nullptr;
    void (*reset_)(const FakeTwainScript*) = nullptr;
    const char* (*log_)() = nullptr;
    const twain::TW_IDENTITY* (*origin_)() = nullptr;
    const void* (*parent_)() = nullptr;
    const twain::TW_USERINTERFACE* (*ui_)() = nullptr;
};

} // namespace px::test
