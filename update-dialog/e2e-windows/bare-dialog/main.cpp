// The bare dialog that Tessary Update's start-up is measured against: the
// same standard controls (icon, bold headline, detail, progress bar, one
// button at the bottom right) in a plain window, with none of the dialog's
// own work (no status file, no arguments beyond the bar's mode, no standard
// input thread). `tessary-bare-dialog marquee` or `tessary-bare-dialog
// determinate`; Return, Escape and the button close it with status 0.
#include <windows.h>

#include <commctrl.h>

namespace tessary::update::bare {
namespace {

constexpr wchar_t windowClass[] = L"TessaryBareDialog";
constexpr int closeButtonId = 1000;
constexpr UINT_PTR pollTimer = 1;

struct Fonts {
    HFONT message = nullptr;
    HFONT bold = nullptr;
    ~Fonts() {
        if (message != nullptr) DeleteObject(message);
        if (bold != nullptr) DeleteObject(bold);
    }
};

struct Dialog {
    HWND window = nullptr;
    HWND icon = nullptr, headline = nullptr, detail = nullptr, bar = nullptr, button = nullptr;
    bool marquee = true;
    Fonts fonts;
};

// A window procedure's link to its dialog: the one global the platform needs.
Dialog* theDialog = nullptr;

int scaled(int value, UINT dpi) {
    return MulDiv(value, static_cast<int>(dpi), 96);
}

void makeFonts(Dialog& dialog, UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi);
    dialog.fonts.message = CreateFontIndirectW(&metrics.lfMessageFont);
    metrics.lfMessageFont.lfWeight = FW_BOLD;
    dialog.fonts.bold = CreateFontIndirectW(&metrics.lfMessageFont);
}

HWND child(const wchar_t* className, const wchar_t* text, DWORD style, int id, HWND parent, HFONT font) {
    HWND control = CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

// The same sizes as the dialog's first look: a 64-pixel icon, a 280-wide bar,
// a row of buttons under them.
void layOut(Dialog& dialog, UINT dpi) {
    const int margin = scaled(20, dpi), iconSize = scaled(64, dpi), textWidth = scaled(320, dpi);
    const int textLeft = margin * 2 + iconSize, lineHeight = scaled(20, dpi);
    const int buttonWidth = scaled(88, dpi), buttonHeight = scaled(26, dpi);
    const int barTop = margin + lineHeight * 3, buttonTop = barTop + scaled(14, dpi) + margin;
    RECT frame{0, 0, textLeft + textWidth + margin, buttonTop + buttonHeight + margin};
    AdjustWindowRectExForDpi(&frame, GetWindowLongW(dialog.window, GWL_STYLE), FALSE, 0, dpi);
    SetWindowPos(dialog.window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    MoveWindow(dialog.icon, margin, margin, iconSize, iconSize, FALSE);
    MoveWindow(dialog.headline, textLeft, margin, textWidth, lineHeight, FALSE);
    MoveWindow(dialog.detail, textLeft, margin + lineHeight + scaled(6, dpi), textWidth, lineHeight, FALSE);
    MoveWindow(dialog.bar, textLeft, barTop, scaled(280, dpi), scaled(14, dpi), FALSE);
    MoveWindow(dialog.button, textLeft + textWidth - buttonWidth, buttonTop, buttonWidth, buttonHeight,
               FALSE);
}

void build(Dialog& dialog) {
    const UINT dpi = GetDpiForWindow(dialog.window);
    makeFonts(dialog, dpi);
    dialog.icon = child(WC_STATICW, nullptr, SS_ICON | SS_REALSIZECONTROL, 100, dialog.window, nullptr);
    SendMessageW(dialog.icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_INFORMATION)), 0);
    dialog.headline =
        child(WC_STATICW, L"Checking for updates\u2026", SS_NOPREFIX, 101, dialog.window, dialog.fonts.bold);
    dialog.detail =
        child(WC_STATICW, L"Tessary 1.2.3", SS_NOPREFIX, 102, dialog.window, dialog.fonts.message);
    dialog.bar =
        child(PROGRESS_CLASSW, nullptr, dialog.marquee ? PBS_MARQUEE : 0, 103, dialog.window, nullptr);
    if (dialog.marquee) {
        SendMessageW(dialog.bar, PBM_SETMARQUEE, TRUE, 0);
    } else {
        SendMessageW(dialog.bar, PBM_SETRANGE32, 0, 1000);
        SendMessageW(dialog.bar, PBM_SETPOS, 420, 0);
    }
    dialog.button = child(WC_BUTTONW, L"Close", BS_DEFPUSHBUTTON | WS_TABSTOP, closeButtonId, dialog.window,
                          dialog.fonts.message);
    layOut(dialog, dpi);
}

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == closeButtonId) DestroyWindow(window);
            return 0;
        case WM_TIMER:
            // The dialog's poll tick, doing the least a tick does: set the bar again.
            if (!theDialog->marquee) SendMessageW(theDialog->bar, PBM_SETPOS, 420, 0);
            return 0;
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

int run(bool marquee) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSEXW registration{};
    registration.cbSize = sizeof registration;
    registration.lpfnWndProc = procedure;
    registration.hInstance = GetModuleHandleW(nullptr);
    registration.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    registration.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    registration.lpszClassName = windowClass;
    if (RegisterClassExW(&registration) == 0) return 3;

    Dialog dialog;
    dialog.marquee = marquee;
    theDialog = &dialog;
    dialog.window = CreateWindowExW(WS_EX_DLGMODALFRAME, windowClass, L"Tessary Update",
                                    WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, 400, 200, nullptr,
                                    nullptr, registration.hInstance, nullptr);
    if (dialog.window == nullptr) return 3;
    build(dialog);
    SetTimer(dialog.window, pollTimer, 250, nullptr);
    ShowWindow(dialog.window, SW_SHOWNORMAL);
    SetForegroundWindow(dialog.window);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_KEYDOWN && (message.wParam == VK_RETURN || message.wParam == VK_ESCAPE)) {
            DestroyWindow(dialog.window);
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    theDialog = nullptr;
    return 0;
}

}  // namespace
}  // namespace tessary::update::bare

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    return tessary::update::bare::run(lstrcmpW(commandLine, L"determinate") != 0);
}
