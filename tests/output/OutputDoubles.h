#pragma once
// Doubles of the printer, screen, trigger, TWAIN manager and scanner
// services, and a main window fixture that installs them.
#include "app/MainWindowFixture.h"
#include "output/OutputServices.h"

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace px::test {

class RecordingPrinter : public Printer {
public:
    struct Job {
        std::string title;
        Size image;
        Rect target;
    };
    bool hasPrinters() override { return installed; }
    bool runSetupDialog() override
    {
        ++setupDialogs;
        return true;
    }
    bool runPrintDialog() override
    {
        ++printDialogs;
        return acceptPrintDialog;
    }
    Size pageSize() override { return page; }
    void printImage(const std::string& title, const Bitmap& image, Rect target) override
    {
        jobs.push_back({title, {image.width(), image.height()}, target});
    }

    bool installed = true;
    bool acceptPrintDialog = true;
    Size page{4800, 6600};
    int setupDialogs = 0;
    int printDialogs = 0;
    std::vector<Job> jobs;
};

class FakeScreen : public ScreenGrabber {
public:
    Bitmap grabScreen() override
    {
        ++grabs;
        if (onGrab)
            onGrab();
        return screen;
    }
    Bitmap screen = uniformBitmap(8, 6, 0x336699);
    int grabs = 0;
    std::function<void()> onGrab;
};

// Answers the polls from a queue (a missing answer is "not pressed").
class ScriptedTrigger : public TriggerPoller {
public:
    bool available() override { return canPoll; }
    bool arm(const CaptureTrigger& trigger) override
    {
        armed.push_back(trigger);
        return true;
    }
    bool pressedSinceLastPoll() override
    {
        ++polls;
        if (presses.empty())
            return false;
        const bool pressed = presses.front();
        presses.pop_front();
        return pressed;
    }
    void disarm() override { ++disarms; }

    bool canPoll = true;
    std::deque<bool> presses;
    std::vector<CaptureTrigger> armed;
    int polls = 0;
    int disarms = 0;
};

// A TWAIN manager that is not installed.
class NoTwainManager : public twain::DsmLibrary {
public:
    bool exists() override { return false; }
    twain::DsmEntryProc load() override { return nullptr; }
    void unload() override {}
};

class FakeScanners : public ScannerDevices {
public:
    bool available() override { return present; }
    std::vector<ScannerDevice> devices() override { return list; }
    Bitmap scan(const std::string& deviceName) override
    {
        scanned.push_back(deviceName);
        if (!error.empty())
            throw ScanError(error);
        return uniformBitmap(5, 4, 0x123456);
    }
    bool present = true;
    std::vector<ScannerDevice> list{{"test:0", "Noname virtual device"}, {"test:1", "Noname virtual device"}};
    std::vector<std::string> scanned;
    std::string error;
};

class OutputFixture : public MainWindowFixture {
protected:
    // The window with every output service replaced by a double (the TWAIN
    // manager stays the real loader unless `twain` is false).
    MainWindow& createWithDoubles(bool twain = true)
    {
        create();
        OutputServices& s = window->outputServices();
        s.printer = std::unique_ptr<Printer>(printer = new RecordingPrinter);
        s.screen = std::unique_ptr<ScreenGrabber>(screen = new FakeScreen);
        s.triggers = std::unique_ptr<TriggerPoller>(triggers = new ScriptedTrigger);
        s.scanners = std::unique_ptr<ScannerDevices>(scanners = new FakeScanners);
        if (!twain)
            s.twainManager = std::make_unique<NoTwainManager>();
        return *window;
    }

    RecordingPrinter* printer = nullptr;
    FakeScreen* screen = nullptr;
    ScriptedTrigger* triggers = nullptr;
    FakeScanners* scanners = nullptr;
};

} // namespace px::test
