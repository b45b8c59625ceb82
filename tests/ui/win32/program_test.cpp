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

// The control that follows a row's caption: the control of that row.
HWND ControlAfter(HWND dialog, const wchar_t* caption) {
    const HWND label = ::FindWindowExW(dialog, nullptr, L"Static", caption);
    return label == nullptr ? nullptr : ::GetWindow(label, GW_HWNDNEXT);
}

HWND ButtonOf(HWND dialog, const wchar_t* caption) {
    return ::FindWindowExW(dialog, nullptr, L"Button", caption);
}

void Type(HWND edit, const wchar_t* text) {
    ::SendMessageTimeoutW(edit, WM_SETTEXT, 0, LPARAM(text), SMTO_BLOCK, kPatienceMilliseconds,
                          nullptr);
}

// Picks an item of a drop-down list as the operator does: the dialog hears of it.
void Pick(HWND dialog, HWND list, int item) {
    ::SendMessageTimeoutW(list, CB_SETCURSEL, item, 0, SMTO_BLOCK, kPatienceMilliseconds, nullptr);
    ::SendMessageTimeoutW(dialog, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(list), CBN_SELCHANGE),
                          LPARAM(list), SMTO_BLOCK, kPatienceMilliseconds, nullptr);
}

std::wstring StoredText(const wchar_t* key, const wchar_t* value) {
    wchar_t text[512] = {};
    DWORD size = sizeof text;
    if (::RegGetValueW(HKEY_CURRENT_USER, key, value, RRF_RT_REG_SZ, nullptr, text, &size) !=
        ERROR_SUCCESS) {
        return L"(none)";
    }
    return text;
}

DWORD StoredNumber(const wchar_t* key, const wchar_t* value) {
    DWORD number = 0;
    DWORD size = sizeof number;
    if (::RegGetValueW(HKEY_CURRENT_USER, key, value, RRF_RT_REG_DWORD, nullptr, &number, &size) !=
        ERROR_SUCCESS) {
        return DWORD(-1);
    }
    return number;
}

void Store(const std::wstring& key, const wchar_t* value, const std::wstring& text) {
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), value, REG_SZ, text.c_str(),
                                DWORD((text.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

void Store(const std::wstring& key, const wchar_t* value, DWORD number) {
    ASSERT_EQ(
        ::RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), value, REG_DWORD, &number, sizeof number),
        ERROR_SUCCESS);
}

// A folder of the test's own under the system's temporary folder.
std::wstring TemporaryFolder() {
    wchar_t base[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, base);
    const std::wstring folder =
        std::wstring(base) + L"kvadrel-program-" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
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

// "Настройка", then a type and its field added through both editors: the
// closed list has stored them, the folders with their closing "\\".
TEST(Program, ATypeAddedThroughBothEditorsIsStored) {
    constexpr wchar_t kTypeKey[] = L"Vestrakon\\Delta\\Type\\Проба";
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kTypeKey);
    SetAutoRun(0);
    const TProgram program;
    const HWND main = program.AwaitWindow(L"TfmMain", kMainCaption);
    ASSERT_NE(main, nullptr);
    ::PostMessageW(ControlsOf(main).Region, BM_CLICK, 0, 0);
    const HWND list = program.AwaitWindow(L"#32770", L"Список региональных обновлений");
    ASSERT_NE(list, nullptr);
    ::PostMessageW(ButtonOf(list, L"Добавить"), BM_CLICK, 0, 0);
    const HWND editor = program.AwaitWindow(L"#32770", L"Региональное обновление");
    ASSERT_NE(editor, nullptr);
    EXPECT_FALSE(::IsWindowEnabled(ButtonOf(editor, L"OK")));
    Type(ControlAfter(editor, L"Описание"), L"Проба");
    Type(ControlAfter(editor, L"Каталог исходных обновлений"), L"C:\\in");
    Type(ControlAfter(editor, L"Каталог преобразованных обновлений"), L"C:\\out\\");
    Pick(editor, ControlAfter(editor, L"Тип исходных обновлений"), 0);
    EXPECT_EQ(TextOf(ControlAfter(editor, L"Идентификатор группы")), L"АМТ");
    EXPECT_FALSE(::IsWindowEnabled(ButtonOf(editor, L"OK")));  // no field yet

    ::PostMessageW(ButtonOf(editor, L"Добавить"), BM_CLICK, 0, 0);
    const HWND field = program.AwaitWindow(L"#32770", L"Поле");
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(TextOf(::FindWindowExW(field, nullptr, L"Static", L"Шифр")), L"Шифр");
    Type(ControlAfter(field, L"Имя поля"), L"NOMER");
    // A typed value is brought into the range when the focus leaves it.
    const HWND size = ControlAfter(field, L"Размер поля");
    Type(size, L"300");
    ::SendMessageTimeoutW(field, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(size), EN_KILLFOCUS),
                          LPARAM(size), SMTO_BLOCK, kPatienceMilliseconds, nullptr);
    EXPECT_EQ(TextOf(size), L"255");
    Type(size, L"20");
    Type(ControlAfter(field, L"Шифр"), L"5");
    Type(ControlAfter(field, L"Альтернативный шифр поля"), L"7");
    ::PostMessageW(ButtonOf(field, L"OK"), BM_CLICK, 0, 0);

    for (DWORD waited = 0;
         !::IsWindowEnabled(ButtonOf(editor, L"OK")) && waited < kPatienceMilliseconds;
         waited += kPollMilliseconds) {
        ::Sleep(kPollMilliseconds);
    }
    ASSERT_TRUE(::IsWindowEnabled(ButtonOf(editor, L"OK")));
    ::PostMessageW(ButtonOf(editor, L"OK"), BM_CLICK, 0, 0);
    for (DWORD waited = 0; ::IsWindow(editor) && waited < kPatienceMilliseconds;
         waited += kPollMilliseconds) {
        ::Sleep(kPollMilliseconds);
    }
    ::PostMessageW(ButtonOf(list, L"Закрыть"), BM_CLICK, 0, 0);
    for (DWORD waited = 0; ::IsWindow(list) && waited < kPatienceMilliseconds;
         waited += kPollMilliseconds) {
        ::Sleep(kPollMilliseconds);
    }
    ASSERT_FALSE(::IsWindow(list));

    EXPECT_EQ(StoredText(kTypeKey, L"From"), L"C:\\in\\");
    EXPECT_EQ(StoredText(kTypeKey, L"To"), L"C:\\out\\");
    EXPECT_EQ(StoredText(kTypeKey, L"Mask"), L"*.*");
    EXPECT_EQ(StoredNumber(kTypeKey, L"Codec"), 0u);
    const std::wstring fieldKey = std::wstring(kTypeKey) + L"\\100";
    EXPECT_EQ(StoredText(fieldKey.c_str(), L"Name"), L"NOMER");
    EXPECT_EQ(StoredNumber(fieldKey.c_str(), L"Size"), 20u);
    EXPECT_EQ(StoredNumber(fieldKey.c_str(), L"Code"), 5u);
    EXPECT_EQ(StoredNumber(fieldKey.c_str(), L"ACode"), 7u);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kTypeKey);

    ::PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.AwaitExit(), 0u);
}

// "Старт" converts a delivered file into its table and deletes it, then
// counts down; "Стоп" pressed twice stops once, with the bar back at 0.
TEST(Program, StartConvertsAFileAndStopPressedTwiceStops) {
    const std::wstring typeKey = L"Vestrakon\\Delta\\Type\\Конверт";
    const std::wstring folder = TemporaryFolder();
    const std::wstring in = folder + L"\\in\\";
    const std::wstring out = folder + L"\\out\\";
    ::CreateDirectoryW(in.c_str(), nullptr);
    ::CreateDirectoryW(out.c_str(), nullptr);
    const HANDLE file = ::CreateFileW((in + L"upd.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const char record[] = "/01=x/02=y\r\n";
    DWORD written = 0;
    ::WriteFile(file, record, sizeof record - 1, &written, nullptr);
    ::CloseHandle(file);
    SetAutoRun(0);
    Store(typeKey, L"Codec", 0);
    Store(typeKey, L"Ident", L"");
    Store(typeKey, L"From", in);
    Store(typeKey, L"To", out);
    Store(typeKey, L"Mask", L"*.txt");
    Store(typeKey, L"SpecProd", 0);
    Store(typeKey + L"\\100", L"Name", L"F01");
    Store(typeKey + L"\\100", L"Size", 10);
    Store(typeKey + L"\\100", L"Code", 1);
    Store(typeKey + L"\\100", L"ACode", 1);

    const TProgram program;
    const HWND main = program.AwaitWindow(L"TfmMain", kMainCaption);
    ASSERT_NE(main, nullptr);
    const TMainControls controls = ControlsOf(main);
    ::PostMessageW(controls.Start, BM_CLICK, 0, 0);
    // The countdown follows the scan, which has converted the file.
    EXPECT_TRUE(AwaitPane(controls.Panel, L"Ожидание ").starts_with(L"Ожидание "));
    EXPECT_TRUE(Exists(out + L"upd.dbf"));
    EXPECT_FALSE(Exists(in + L"upd.txt"));

    ::PostMessageW(controls.Stop, BM_CLICK, 0, 0);
    ::PostMessageW(controls.Stop, BM_CLICK, 0, 0);
    EXPECT_EQ(AwaitPane(controls.Panel, L"Программа остановлена"), L"Программа остановлена");
    EXPECT_TRUE(::IsWindowEnabled(controls.Start));
    EXPECT_FALSE(::IsWindowEnabled(controls.Stop));
    EXPECT_EQ(
        ::SendMessageW(::FindWindowExW(main, nullptr, L"KvadrelLedBar", nullptr), PBM_GETPOS, 0, 0),
        0);
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.AwaitExit(), 0u);

    ::RegDeleteTreeW(HKEY_CURRENT_USER, typeKey.c_str());
    ::DeleteFileW((out + L"upd.dbf").c_str());
    ::RemoveDirectoryW(in.c_str());
    ::RemoveDirectoryW(out.c_str());
    ::RemoveDirectoryW(folder.c_str());
}

}  // namespace
