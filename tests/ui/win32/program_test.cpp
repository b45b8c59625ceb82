// kvadrel.exe itself, driven as an operator would drive it: its windows are
// found by their captions, read and pressed by window messages.
#include <windows.h>

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

// Every wait here ends: a program that does not show its window or end
// within this time fails the test instead of hanging it.
constexpr DWORD kPatienceMilliseconds = 60000;
constexpr DWORD kPollMilliseconds = 50;
constexpr wchar_t kMainCaption[] = L"Пребразователь обновлений в DBase";

std::wstring ProgramPath() {
    // The build folder as Wine sees it: its Unix root is drive Z:.
    std::wstring path = L"Z:";
    for (const char c : std::string(KVADREL_BINARY_DIR "/app/kvadrel" KVADREL_EXE_SUFFIX)) {
        path += c == '/' ? L'\\' : wchar_t(c);
    }
    return path;
}

class TProgram {
  public:
    TProgram() {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        std::wstring command = L"\"" + ProgramPath() + L"\"";
        if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &startup, &process_)) {
            throw std::runtime_error("cannot start kvadrel.exe");
        }
        ::CloseHandle(process_.hThread);
    }
    ~TProgram() {
        if (::WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(process_.hProcess, 1);
        }
        ::CloseHandle(process_.hProcess);
    }
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;

    // The program's top-level window of the class and caption, once it shows
    // it; null when it did not within the patience.
    HWND AwaitWindow(const wchar_t* className, const wchar_t* caption) const {
        for (DWORD waited = 0; waited < kPatienceMilliseconds; waited += kPollMilliseconds) {
            for (HWND window = ::FindWindowExW(nullptr, nullptr, className, caption);
                 window != nullptr; window = ::FindWindowExW(nullptr, window, className, caption)) {
                DWORD owner = 0;
                ::GetWindowThreadProcessId(window, &owner);
                if (owner == process_.dwProcessId && ::IsWindowVisible(window)) {
                    return window;
                }
            }
            ::Sleep(kPollMilliseconds);
        }
        return nullptr;
    }

    // The exit code once the program has ended; STILL_ACTIVE when it did not.
    DWORD AwaitExit() const {
        ::WaitForSingleObject(process_.hProcess, kPatienceMilliseconds);
        DWORD code = STILL_ACTIVE;
        ::GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

  private:
    PROCESS_INFORMATION process_{};
};

std::wstring TextOf(HWND window) {
    std::vector<wchar_t> text(512);
    DWORD_PTR length = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), LPARAM(text.data()), SMTO_BLOCK,
                          kPatienceMilliseconds, &length);
    return std::wstring(text.data(), length);
}

struct TMainControls {
    HWND Panel;
    HWND Start;
    HWND Stop;
    HWND Region;
    HWND Help;
    HWND Exit;
};

TMainControls ControlsOf(HWND main) {
    const HWND toolbar = ::FindWindowExW(main, nullptr, L"KvadrelToolbar", nullptr);
    const HWND status = ::FindWindowExW(main, nullptr, L"msctls_statusbar32", nullptr);
    const auto button = [&](const wchar_t* caption) {
        return ::FindWindowExW(toolbar, nullptr, L"Button", caption);
    };
    return {::FindWindowExW(status, nullptr, L"Static", nullptr),
            button(L"Старт"),
            button(L"Стоп"),
            button(L"Настройка"),
            button(L"Справка"),
            button(L"Выход")};
}

// Waits until the pane shows a text starting with `start`; the text shown.
std::wstring AwaitPane(HWND pane, const std::wstring& start) {
    std::wstring text;
    for (DWORD waited = 0; waited < kPatienceMilliseconds; waited += kPollMilliseconds) {
        text = TextOf(pane);
        if (text.starts_with(start)) {
            break;
        }
        ::Sleep(kPollMilliseconds);
    }
    return text;
}

void SetAutoRun(DWORD on) {
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, L"Vestrakon\\Delta\\Type", L"AutoRun", REG_DWORD,
                                &on, sizeof on),
              ERROR_SUCCESS);
}

// The first copy comes up stopped; a second copy shows the single-instance
// error under the default title, shows no window of its own and ends with 0.
TEST(Program, ASecondCopyShowsTheErrorAndEndsWithZero) {
    SetAutoRun(0);
    const TProgram first;
    const HWND main = first.AwaitWindow(L"TfmMain", kMainCaption);
    ASSERT_NE(main, nullptr);
    const TMainControls controls = ControlsOf(main);
    EXPECT_EQ(AwaitPane(controls.Panel, L"Программа остановлена"), L"Программа остановлена");
    EXPECT_TRUE(::IsWindowEnabled(controls.Start));
    EXPECT_FALSE(::IsWindowEnabled(controls.Stop));
    EXPECT_TRUE(::IsWindowEnabled(controls.Region));
    EXPECT_FALSE(::IsWindowEnabled(controls.Help));
    EXPECT_TRUE(::IsWindowEnabled(controls.Exit));

    const TProgram second;
    const HWND box = second.AwaitWindow(L"#32770", L"kvadrel");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(TextOf(::GetDlgItem(box, 0xFFFF)), L"Программа уже запущена.");
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(second.AwaitExit(), 0u);
    EXPECT_EQ(::FindWindowExW(nullptr, main, L"TfmMain", nullptr), nullptr);  // only the first's
    EXPECT_EQ(::FindWindowExW(nullptr, nullptr, L"TfmMain", nullptr), main);

    ::PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(first.AwaitExit(), 0u);
}

// While the converter runs every close is refused, also the end of the
// session; "Стоп" brings the stopped state back and the window closes.
TEST(Program, RefusesToCloseWhileRunning) {
    SetAutoRun(0);
    const TProgram program;
    const HWND main = program.AwaitWindow(L"TfmMain", kMainCaption);
    ASSERT_NE(main, nullptr);
    const TMainControls controls = ControlsOf(main);
    ::PostMessageW(controls.Start, BM_CLICK, 0, 0);
    // The countdown of a configuration without update types.
    const std::wstring countdown = AwaitPane(controls.Panel, L"Ожидание ");
    EXPECT_TRUE(countdown.starts_with(L"Ожидание ") && countdown.ends_with(L" секунд"))
        << countdown.size();
    EXPECT_FALSE(::IsWindowEnabled(controls.Start));
    EXPECT_TRUE(::IsWindowEnabled(controls.Stop));
    EXPECT_FALSE(::IsWindowEnabled(controls.Exit));

    DWORD_PTR endSession = TRUE;
    ASSERT_NE(::SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, 0, SMTO_BLOCK,
                                    kPatienceMilliseconds, &endSession),
              0);
    EXPECT_EQ(endSession, DWORD_PTR(FALSE));
    ::SendMessageTimeoutW(main, WM_CLOSE, 0, 0, SMTO_BLOCK, kPatienceMilliseconds, nullptr);
    EXPECT_TRUE(::IsWindow(main));

    ::PostMessageW(controls.Stop, BM_CLICK, 0, 0);
    EXPECT_EQ(AwaitPane(controls.Panel, L"Программа остановлена"), L"Программа остановлена");
    EXPECT_EQ(
        ::SendMessageW(::FindWindowExW(main, nullptr, L"KvadrelLedBar", nullptr), PBM_GETPOS, 0, 0),
        0);
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.AwaitExit(), 0u);
}

}  // namespace
