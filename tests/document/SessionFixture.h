#pragma once
// A session with a scripted prompter, an in-memory clipboard and no desktop
// services, for the windows and panels built on one.
#include "document/Session.h"
#include "platform/MemoryClipboard.h"
#include "platform/ScriptedPrompter.h"
#include "platform/ShellServices.h"

#include <gtest/gtest.h>

namespace px::test {

class NoShell : public ShellServices {
public:
    bool openUrl(const std::string&) override { return false; }
    bool moveToTrash(const std::string&, std::string*) override { return false; }
};

class SessionTest : public ::testing::Test {
protected:
    ScriptedPrompter prompter;
    NoShell shell;
    MemoryClipboard clipboard;
    Session session{prompter, shell, clipboard};
};

} // namespace px::test
