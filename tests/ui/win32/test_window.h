// A hidden top-level window for the tests to put controls into.
#pragma once

#include <windows.h>

#include <stdexcept>

class TTestWindow {
  public:
    TTestWindow()
        : window_(::CreateWindowExW(0, L"STATIC", L"test", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                                    nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr)) {
        if (window_ == nullptr) {
            throw std::runtime_error("cannot make the test's window");
        }
    }
    ~TTestWindow() { ::DestroyWindow(window_); }

    TTestWindow(const TTestWindow&) = delete;
    TTestWindow& operator=(const TTestWindow&) = delete;

    HWND Handle() const { return window_; }

  private:
    HWND window_;
};
