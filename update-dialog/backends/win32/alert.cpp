#include "alert.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/windows/wide_text.h"
#include "progress_bar.h"
#include "window_focus.h"

namespace tessary::update::win32 {
namespace {

constexpr UINT applyMessage = WM_APP + 2;  // the pass that set texts is over
constexpr DWORD windowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD windowExStyle = 0;
constexpr DWORD textStyle = SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL;
// How the STATIC controls draw their texts, and so how they are measured.
constexpr UINT textFormat = DT_LEFT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_EXPANDTABS;

HWND newControl(HWND parent, const wchar_t* className, DWORD style, int id, DWORD exStyle = 0) {
    return CreateWindowExW(exStyle, className, L"", WS_CHILD | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                           nullptr);
}

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

void setText(HWND window, const std::wstring& text) {
    if (windowText(window) != text) SetWindowTextW(window, text.c_str());
}

// An EDIT breaks lines only at "\r\n": every line break the dialog counts
// (core/text_bounds.h) becomes one.
std::wstring withEditLineBreaks(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') {
            out += L"\r\n";
            ++i;
        } else if (c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f' || c == 0x0085 || c == 0x2028 ||
                   c == 0x2029) {
            out += L"\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

int textHeight(HDC dc, HFONT font, const std::wstring& text, int width) {
    const HGDIOBJ previous = SelectObject(dc, font);
    RECT bounds{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &bounds, textFormat | DT_CALCRECT);
    SelectObject(dc, previous);
    return bounds.bottom - bounds.top;
}

int lineHeight(HDC dc, HFONT font) {
    const HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    return metrics.tmHeight + metrics.tmExternalLeading;
}

int titleWidth(HDC dc, HFONT font, const std::wstring& title) {
    const HGDIOBJ previous = SelectObject(dc, font);
    RECT bounds{0, 0, 0, 0};
    DrawTextW(dc, title.c_str(), static_cast<int>(title.size()), &bounds,
              DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    SelectObject(dc, previous);
    return bounds.right - bounds.left;
}

// Windows' information icon drawn for `size` (LoadIconWithScaleDown, which
// comctl32 has from version 6 on and mingw-w64 does not link), or else at the
// system's icon size.
HICON standardIcon(int size) {
    using LoadScaled = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
    const HMODULE controls = GetModuleHandleW(L"comctl32.dll");
    const auto load = controls == nullptr ? nullptr
                                          : reinterpret_cast<LoadScaled>(reinterpret_cast<void (*)()>(
                                                GetProcAddress(controls, "LoadIconWithScaleDown")));
    HICON icon = nullptr;
    if (load != nullptr && SUCCEEDED(load(nullptr, IDI_INFORMATION, size, size, &icon))) return icon;
    return CopyIcon(LoadIconW(nullptr, IDI_INFORMATION));
}

// Room kept at the bottom of the work area for a window manager that draws
// the window's frame further down than Windows places the window: under X,
// Wine's windows land lower by about their title bar. On Windows it only
// keeps the tallest dialog a little clear of the taskbar.
int frameAllowance(UINT dpi) {
    return GetSystemMetricsForDpi(SM_CYCAPTION, dpi);
}

class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() { ReleaseDC(window_, dc_); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

}  // namespace

void Win32Button::setTitle(const std::string& title) {
    const std::wstring wide = windows::wideFromUtf8(title);
    if (wide == title_) return;
    title_ = wide;
    // "&" marks a shortcut letter on a button; titles such as "Install & Relaunch" mean it literally.
    std::wstring shown;
    for (const wchar_t c : wide) {
        if (c == L'&') shown += L'&';
        shown += c;
    }
    SetWindowTextW(button_, shown.c_str());
    alert_.sizesMayHaveChanged();
}

// Only the carriage return is a key equivalent the dialog uses: that button
// becomes the default one, which Return presses. Any other button never is.
void Win32Button::setKeyEquivalent(const std::string& keyEquivalent) {
    const bool pressedByReturn = keyEquivalent == "\r";
    if (pressedByReturn == pressedByReturn_) return;
    pressedByReturn_ = pressedByReturn;
    SendMessageW(button_, BM_SETSTYLE, pressedByReturn ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    // Return was taken from it so that no key confirms by accident ("Install &
    // Relaunch"): the focus it had as the default button must go too, or Space presses it.
    if (!pressedByReturn) alert_.focusLeaves(*this);
}

void Win32Window::makeKeyAndOrderFront() {
    bringToFront(window_);
}

std::unique_ptr<Win32Alert> Win32Alert::create(RunLoop& runLoop) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW registration{};
    registration.cbSize = sizeof registration;
    registration.lpfnWndProc = procedure;
    registration.hInstance = instance;
    registration.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    registration.lpszClassName = alertWindowClass;
    if (RegisterClassExW(&registration) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;

    // Made on the monitor it will show on, so that it takes that monitor's scale from the start.
    POINT cursor{};
    GetCursorPos(&cursor);
    const HWND foreground = GetForegroundWindow();
    const HMONITOR monitor = foreground != nullptr ? MonitorFromWindow(foreground, MONITOR_DEFAULTTOPRIMARY)
                                                   : MonitorFromPoint(cursor, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);

    std::unique_ptr<Win32Alert> alert;
    const HWND window =
        CreateWindowExW(windowExStyle, alertWindowClass, alertWindowTitle, windowStyle, info.rcWork.left,
                        info.rcWork.top, 100, 100, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return nullptr;
    alert.reset(new Win32Alert(runLoop, window));
    return alert;
}

Win32Alert::Win32Alert(RunLoop& runLoop, HWND window)
    : runLoop_(runLoop), window_(window), dpi_(GetDpiForWindow(window)), windowObject_(window) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (dpi_ == 0) dpi_ = USER_DEFAULT_SCREEN_DPI;
    icon_ = newControl(window_, WC_STATICW, WS_VISIBLE | SS_ICON | SS_REALSIZECONTROL, iconControlId);
    headline_ = newControl(window_, WC_STATICW, WS_VISIBLE | textStyle, headlineControlId);
    detail_ = newControl(window_, WC_STATICW, WS_VISIBLE | textStyle, detailControlId);
    bar_ = newControl(window_, PROGRESS_CLASSW, 0, barControlId);
    makeAlertFonts(fonts_, dpi_);
    applyFonts();
    applyIcons();
}

Win32Alert::~Win32Alert() {
    // The bar belongs to its own owner: let it go before the window does.
    if (accessory_ != nullptr) accessory_->detach();
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
}

void Win32Alert::setAlertStyle(AlertStyle) {
    // The informational and warning styles look alike, as in AppKit; the
    // critical style is never used.
}

void Win32Alert::setMessageText(const std::string& text) {
    messageText_ = windows::wideFromUtf8(text);
    scheduleApply();
}

void Win32Alert::setInformativeText(const std::string& text) {
    informativeText_ = windows::wideFromUtf8(text);
    scheduleApply();
}

void Win32Alert::setIcon(Image& icon) {
    auto* image = dynamic_cast<Win32Image*>(&icon);
    if (image == nullptr) return;
    image_ = image;
    applyIcons();
    sizesMayHaveChanged();  // the icon's proportions may move it
}

// Each button ends the modal loop with its own response: 1000 for the first,
// 1001 for the second, and so on, which is also its control ID.
Button& Win32Alert::addButtonWithTitle(const std::string& title) {
    const int id = static_cast<int>(alertFirstButtonReturn) + static_cast<int>(buttons_.size());
    const HWND button = newControl(window_, WC_BUTTONW, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, id);
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.message.get()), FALSE);
    auto& added = *buttons_.emplace_back(std::make_unique<Win32Button>(*this, button));
    added.setTitle(title);
    // As in NSAlert, the first button starts with Return as its key equivalent.
    if (buttons_.size() == 1) added.setKeyEquivalent("\r");
    sizesMayHaveChanged();
    return added;
}

void Win32Alert::setAccessoryView(View* view) {
    auto* indicator = dynamic_cast<Win32ProgressIndicator*>(view);
    if (indicator == accessory_) return;
    if (accessory_ != nullptr) accessory_->detach();
    accessory_ = indicator;
    if (accessory_ != nullptr) accessory_->attach(*this, bar_);
}

void Win32Alert::accessoryGone(Win32ProgressIndicator& indicator) {
    if (accessory_ != &indicator) return;
    accessory_->detach();
    accessory_ = nullptr;
}

void Win32Alert::layout() {
    applyScheduled_ = false;
    showTexts();
    relayout();
}

// Called as a button stops being the one Return presses. While the pass goes
// on, the focus rests on the window itself, where keys press nothing; once it
// is over, it goes where the dialog would put it (settleFocus). A window that
// is not active gets it back elsewhere.
void Win32Alert::focusLeaves(const Win32Button& button) {
    if (lastFocus_ == button.handle()) lastFocus_ = nullptr;
    if (GetFocus() != button.handle()) return;
    SetFocus(window_);
    focusUnsettled_ = true;
    scheduleApply();
}

void Win32Alert::settleFocus() {
    if (!focusUnsettled_) return;
    focusUnsettled_ = false;
    // Unless the user has moved it meanwhile (a Tab).
    if (GetFocus() == window_) focusOn(restingFocus());
}

// Where the dialog puts the focus of its own accord: on the button Return
// presses, or else on a button other than the first, the one that confirms an
// install; or on no button (nullptr).
HWND Win32Alert::restingFocus() const {
    for (const auto& button : buttons_) {
        if (button->pressedByReturn()) return button->handle();
    }
    return buttons_.size() > 1 ? buttons_[1]->handle() : nullptr;
}

// No control means the window itself: keys still reach the dialog's loop
// (Escape, Tab), and Space presses nothing.
void Win32Alert::focusOn(HWND control) {
    SetFocus(control != nullptr ? control : window_);
}

void Win32Alert::scheduleApply() {
    if (applyScheduled_) return;
    applyScheduled_ = PostMessageW(window_, applyMessage, 0, 0) != FALSE;
}

// Texts changed within a state: shown as they are, and laid out anew only when
// one of them no longer takes the room it has (a longer detail, a button's new
// title), so that a tick that changes a byte count moves nothing.
void Win32Alert::applyTexts() {
    applyScheduled_ = false;
    settleFocus();
    const bool textsChanged = showTexts();
    if (!textsChanged && !sizesMayChange_) return;
    sizesMayChange_ = false;
    const WindowDc dc(window_);
    const AlertGeometry wanted = geometryFor(dc.get());
    const auto sameSize = [](const RECT& a, const RECT& b) {
        return a.right - a.left == b.right - b.left && a.bottom - a.top == b.bottom - b.top;
    };
    bool fits = wanted.detailScrolls == detailScrolls_ && sameSize(wanted.headline, geometry_.headline) &&
                sameSize(wanted.detail, geometry_.detail) && sameSize(wanted.icon, geometry_.icon) &&
                wanted.buttons.size() == geometry_.buttons.size();
    for (std::size_t i = 0; fits && i < wanted.buttons.size(); ++i) {
        fits = sameSize(wanted.buttons[i], geometry_.buttons[i]);
    }
    if (!fits) relayout();
}

// Puts the texts into the controls; whether any of them changed.
bool Win32Alert::showTexts() {
    const std::wstring detail = detailScrolls_ ? withEditLineBreaks(informativeText_) : informativeText_;
    const bool changed = windowText(headline_) != messageText_ || windowText(detail_) != detail;
    setText(headline_, messageText_);
    setText(detail_, detail);
    return changed;
}

AlertGeometry Win32Alert::geometryFor(HDC dc) const {
    AlertMeasures measures;
    measures.metrics = AlertMetrics{}.scaledTo(dpi_);
    measures.headlineHeight = [&](int width) {
        return textHeight(dc, fonts_.bold.get(), messageText_, width);
    };
    measures.detailHeight = [&](int width) {
        return textHeight(dc, fonts_.message.get(), informativeText_, width);
    };
    measures.detailLineHeight = lineHeight(dc, fonts_.message.get());
    measures.scrollBarWidth = GetSystemMetricsForDpi(SM_CXVSCROLL, dpi_);
    for (const auto& button : buttons_) {
        measures.buttonTitleWidths.push_back(titleWidth(dc, fonts_.message.get(), button->title()));
    }
    measures.barShown = accessory_ != nullptr && accessory_->shown();
    if (accessory_ != nullptr) {
        const Rect frame = accessory_->frame();
        measures.barSize = {
            MulDiv(static_cast<int>(frame.width), static_cast<int>(dpi_), USER_DEFAULT_SCREEN_DPI),
            MulDiv(static_cast<int>(frame.height), static_cast<int>(dpi_), USER_DEFAULT_SCREEN_DPI)};
    }
    const int iconSquare = measures.metrics.iconSize;
    measures.iconSize = image_ != nullptr ? image_->fittedSize(iconSquare) : SIZE{iconSquare, iconSquare};
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectExForDpi(&frame, windowStyle, FALSE, windowExStyle, dpi_);
    measures.frame = {frame.right - frame.left, frame.bottom - frame.top};
    const RECT area = workArea();
    measures.workArea = {area.right - area.left, area.bottom - area.top - frameAllowance(dpi_)};
    return layOutAlert(measures);
}

// Lays the alert out from scratch: the window resized without copying its old
// pixels, every control moved in one step, then all of it drawn afresh, so
// that no stale text is left behind anywhere.
void Win32Alert::relayout() {
    sizesMayChange_ = false;
    {
        const WindowDc dc(window_);
        geometry_ = geometryFor(dc.get());
    }
    if (geometry_.detailScrolls != detailScrolls_) useDetailControl(geometry_.detailScrolls);

    RECT frame{0, 0, geometry_.client.cx, geometry_.client.cy};
    AdjustWindowRectExForDpi(&frame, windowStyle, FALSE, windowExStyle, dpi_);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const RECT area = workArea();
    RECT now{};
    GetWindowRect(window_, &now);
    // Centred on its monitor the first time; afterwards it stays where it is,
    // moved back only as far as it must to stay within the work area.
    int left = placed_ ? now.left : area.left + (area.right - area.left - width) / 2;
    int top = placed_ ? now.top : area.top + (area.bottom - area.top - height) / 3;
    left = std::max(std::min(left, static_cast<int>(area.right) - width), static_cast<int>(area.left));
    top = std::max(std::min(top, static_cast<int>(area.bottom) - frameAllowance(dpi_) - height),
                   static_cast<int>(area.top));
    placed_ = true;
    SetWindowPos(window_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);

    std::vector<std::pair<HWND, RECT>> places{
        {icon_, geometry_.icon}, {headline_, geometry_.headline}, {detail_, geometry_.detail}};
    if (accessory_ != nullptr) places.emplace_back(bar_, geometry_.bar);
    for (std::size_t i = 0; i < buttons_.size() && i < geometry_.buttons.size(); ++i) {
        places.emplace_back(buttons_[i]->handle(), geometry_.buttons[i]);
    }
    HDWP moves = BeginDeferWindowPos(static_cast<int>(places.size()));
    for (const auto& [control, place] : places) {
        if (moves == nullptr) break;
        moves = DeferWindowPos(moves, control, nullptr, place.left, place.top, place.right - place.left,
                               place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    }
    if (moves != nullptr) EndDeferWindowPos(moves);
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

// The detail text as a STATIC while it fits, as a read-only EDIT that scrolls
// (reachable with Tab, then the arrow and page keys) when it does not.
void Win32Alert::useDetailControl(bool scrolls) {
    const bool hadFocus = GetFocus() == detail_;
    DestroyWindow(detail_);
    detailScrolls_ = scrolls;
    detail_ =
        scrolls
            ? newControl(window_, WC_EDITW,
                         WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                         detailControlId)
            : newControl(window_, WC_STATICW, WS_VISIBLE | textStyle, detailControlId);
    SendMessageW(detail_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.message.get()), FALSE);
    // The scrolled text starts where the headline does.
    if (scrolls) SendMessageW(detail_, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    showTexts();
    if (hadFocus) focusOn(restingFocus());
}

void Win32Alert::applyFonts() {
    const auto font = [](HWND control, HFONT f) {
        if (control != nullptr) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(f), FALSE);
    };
    font(headline_, fonts_.bold.get());
    font(detail_, fonts_.message.get());
    for (const auto& button : buttons_) font(button->handle(), fonts_.message.get());
}

// The icon at the scale of the alert's monitor: the host's image, or Windows'
// information icon; the window's own icons (title bar, taskbar) from the same.
void Win32Alert::applyIcons() {
    const int size = AlertMetrics{}.scaledTo(dpi_).iconSize;
    HICON shown = image_ != nullptr ? image_->icon(size) : nullptr;
    if (shown == nullptr) {
        HICON standard = standardIcon(size);
        defaultIcon_ = IconHandle(standard);
        shown = standard;
    }
    SendMessageW(icon_, STM_SETICON, reinterpret_cast<WPARAM>(shown), 0);
    if (image_ != nullptr) {
        const int big = GetSystemMetricsForDpi(SM_CXICON, dpi_);
        const int small = GetSystemMetricsForDpi(SM_CXSMICON, dpi_);
        SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(image_->icon(big)));
        SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(image_->icon(small)));
    }
}

// Moved to a monitor of another scale: fonts, icons and sizes for that scale,
// at the place Windows suggests.
void Win32Alert::changeDpi(UINT dpi, const RECT* suggested) {
    dpi_ = dpi;
    makeAlertFonts(fonts_, dpi_);
    applyFonts();
    applyIcons();
    if (suggested != nullptr) {
        SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
    }
    relayout();
}

RECT Win32Alert::workArea() const {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &info)) {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
    }
    return info.rcWork;
}

// Tab and Shift+Tab: the buttons, first button first, then a detail text that scrolls.
void Win32Alert::moveFocus(bool backwards) {
    std::vector<HWND> stops;
    for (const auto& button : buttons_) stops.push_back(button->handle());
    if (detailScrolls_) stops.push_back(detail_);
    if (stops.empty()) return;
    const auto current = std::find(stops.begin(), stops.end(), GetFocus());
    std::size_t next = 0;
    if (current != stops.end()) {
        const auto index = static_cast<std::size_t>(current - stops.begin());
        next = backwards ? (index + stops.size() - 1) % stops.size() : (index + 1) % stops.size();
    }
    SetFocus(stops[next]);
    // The keyboard is in use: show where the focus is.
    SendMessageW(window_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
}

// The texts on the window's colour, the buttons in a band of the face colour
// along the bottom, as in Windows' own message boxes.
void Win32Alert::paintBackground(HDC dc) const {
    RECT client{};
    GetClientRect(window_, &client);
    RECT content = client;
    content.bottom = std::min(content.bottom, static_cast<LONG>(geometry_.footerTop));
    RECT footer = client;
    footer.top = content.bottom;
    FillRect(dc, &content, GetSysColorBrush(COLOR_WINDOW));
    FillRect(dc, &footer, GetSysColorBrush(COLOR_3DFACE));
}

// Keys for the alert, before they reach a control.
bool Win32Alert::handleKey(const MSG& message) {
    if (message.message != WM_KEYDOWN) return false;
    if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
    // A key held down since before it was pressed here (its repeats) does nothing.
    const bool repeat = (message.lParam & (1 << 30)) != 0;
    switch (message.wParam) {
        case VK_RETURN:
            if (repeat) return true;
            for (std::size_t i = 0; i < buttons_.size(); ++i) {
                if (buttons_[i]->pressedByReturn() && IsWindowEnabled(buttons_[i]->handle())) {
                    runLoop_.requestStop(alertFirstButtonReturn + static_cast<ModalResponse>(i));
                    break;
                }
            }
            return true;  // without such a button, Return presses nothing
        case VK_ESCAPE:
            if (!repeat) runLoop_.requestStop(modalResponseCancel);
            return true;
        case VK_TAB:
            moveFocus(GetKeyState(VK_SHIFT) < 0);
            return true;
        default:
            return false;
    }
}

ModalResponse Win32Alert::runModal() {
    // Whatever was handed over before the dialog shows: the host may have gone already.
    runLoop_.runPostedWork();
    if (runLoop_.stopRequested()) return runLoop_.takeStop();
    layout();
    ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
    focusOn(restingFocus());

    MSG message{};
    while (!runLoop_.stopRequested()) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            // WM_QUIT, or no message queue left: nothing more can end the loop.
            runLoop_.requestStop(modalResponseCancel);
            break;
        }
        if (handleKey(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    // The dialog leaves the screen as the loop ends; nothing is destroyed.
    ShowWindow(window_, SW_HIDE);
    return runLoop_.takeStop();
}

LRESULT CALLBACK Win32Alert::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        // Under per-monitor awareness of the first kind (Windows 10 1607), the
        // title bar scales only when asked to; the second kind does it itself.
        if (!AreDpiAwarenessContextsEqual(GetThreadDpiAwarenessContext(),
                                          DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2))
            EnableNonClientDpiScaling(window);
    }
    auto* alert = reinterpret_cast<Win32Alert*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (alert != nullptr) return alert->handle(message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT Win32Alert::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case applyMessage:
            applyTexts();
            return 0;
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            const auto index = static_cast<std::size_t>(id - static_cast<int>(alertFirstButtonReturn));
            if (HIWORD(wParam) == BN_CLICKED && id >= static_cast<int>(alertFirstButtonReturn) &&
                index < buttons_.size()) {
                runLoop_.requestStop(static_cast<ModalResponse>(id));
            }
            return 0;
        }
        case WM_CLOSE:
            runLoop_.requestStop(modalResponseCancel);
            return 0;
        case WM_ACTIVATE:
            // Keyboard focus goes back where it was when the user comes back;
            // where it was on no control, or on a button that has since lost
            // Return (focusLeaves), where the dialog puts it of its own accord.
            if (LOWORD(wParam) == WA_INACTIVE) {
                const HWND focus = GetFocus();
                lastFocus_ = focus != nullptr && IsChild(window_, focus) ? focus : nullptr;
            } else {
                focusUnsettled_ = false;
                focusOn(lastFocus_ != nullptr && IsWindow(lastFocus_) && IsChild(window_, lastFocus_)
                            ? lastFocus_
                            : restingFocus());
            }
            return 0;
        case WM_ERASEBKGND:
            paintBackground(reinterpret_cast<HDC>(wParam));
            return 1;
        case WM_PRINTCLIENT:
            paintBackground(reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_CTLCOLORSTATIC: {
            // The texts, the icon and a scrolling detail stand on the window's colour.
            const auto dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            SetBkColor(dc, GetSysColor(COLOR_WINDOW));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        }
        case WM_CTLCOLORBTN:
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_3DFACE));
        case WM_DPICHANGED:
            changeDpi(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_SETTINGCHANGE:
            if (wParam == SPI_SETNONCLIENTMETRICS || wParam == SPI_SETWORKAREA) {
                makeAlertFonts(fonts_, dpi_);
                applyFonts();
                relayout();
            }
            return 0;
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

}  // namespace tessary::update::win32
