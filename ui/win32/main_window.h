// TfmMain on Windows: the program's main window over its form (TMainForm),
// with the controls of the original layout: the toolbar RzToolbar1 with the
// five actions' buttons, the LED bar Bar and the status bar Info_Panel
// holding the pane Panel.
#pragma once

#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>

#include "engine/delta.h"
#include "ui/forms/main_form.h"
#include "ui/win32/dialog_font.h"
#include "ui/win32/led_bar.h"
#include "ui/win32/message_dispatcher.h"
#include "ui/win32/pane_status.h"

class TfmMain final : private TMainView {
  public:
    // Makes the window, hidden and stopped; the caption is the application's
    // title. Throws std::system_error when a control cannot be made.
    explicit TfmMain(TDeltaSettings settings = TDeltaSettings::Defaults());
    ~TfmMain() override;

    TfmMain(const TfmMain&) = delete;
    TfmMain& operator=(const TfmMain&) = delete;

    // Shows the window; the first show presses "Старт" when AutoRun is set.
    void Show(int how);
    HWND Window() const { return window_; }

    // The controls, named as in the layout.
    HWND RzToolbar1 = nullptr;
    HWND Bar = nullptr;
    HWND Info_Panel = nullptr;
    HWND Panel = nullptr;
    // The toolbar's buttons of the actions of AL.
    HWND Start = nullptr;
    HWND Stop = nullptr;
    HWND Region = nullptr;
    HWND Help = nullptr;
    HWND Exit = nullptr;

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The window with its controls.
    HWND CreateWindowAndControls();
    HWND AddButton(int index, const wchar_t* caption);

    // TMainView
    void EnableActions(const TMainActions& enabled) override;
    void SetStatus(std::u16string_view text) override;
    TStatusPane& WorkerPane() override { return paneStatus_; }
    TProgressBar& WorkerBar() override { return barProgress_; }
    void RunUpdateList() override;
    void CloseWindow() override;
    void Note(const std::string& text) override;

    TDialogFont font_;
    HWND window_ = nullptr;
    TPaneStatus paneStatus_;
    TBarProgress barProgress_;
    std::filesystem::path storeFile_;  // the update list's
    TMessageDispatcher dispatcher_;    // outlives the worker
    std::unique_ptr<TMainForm> form_;
};
