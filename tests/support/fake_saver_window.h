// A double for the saver window's platform table, installed for the lifetime
// of the object. Calls are logged as text, in order, into the log of the
// FakeSaverPlatform that the test also installs, so that the window's calls
// and the password hooks' calls can be read as one sequence.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "platform/saver_window.h"
#include "support/fake_saver_platform.h"

class FakeSaverWindow {
public:
    explicit FakeSaverWindow(FakeSaverPlatform& platform);
    ~FakeSaverWindow();
    FakeSaverWindow(const FakeSaverWindow&) = delete;
    FakeSaverWindow& operator=(const FakeSaverWindow&) = delete;

    FakeSaverPlatform& platform;
    RECT screen = {0, 0, 1024, 768};
    RECT hostClient = {0, 0, 152, 112};
    uintptr_t runningSaver = 0;  // what FindWindowA finds
    ATOM classAtom = 0xC001;
    uintptr_t createdWindow = 0x500;  // what CreateWindowExA returns
    bool imeLoaded = false;
    uintptr_t imeContext = 0x77;  // the context associated before detaching
    uintptr_t parentOfWindow = 0;
    // Messages that GetMessageA hands out before the quit message.
    std::deque<MSG> queue;
    int quitCode = 0;
    LRESULT programResult = 7;  // what the program's procedure answers

    WNDCLASSA registered = {};
};
