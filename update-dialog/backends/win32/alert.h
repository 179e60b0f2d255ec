// NSAlert as a window of standard controls, laid out like the alerts of the
// other platforms: the icon at the left, the bold headline above the detail
// text, the bar under them, and the buttons at the bottom right, the first one
// rightmost. The controls have fixed IDs: 100 the icon, 101 the headline, 102
// the detail (a STATIC, or a read-only EDIT when it must scroll), 103 the bar,
// and 1000, 1001, ... the buttons, each ID the modal response it ends the loop
// with. Return presses the button whose key equivalent is a carriage return
// (never one without), Escape and the close box end the loop with
// NSModalResponseCancel. Space presses the focused button, so the dialog
// itself never puts the focus on the first button while Return does not press
// it ("Install & Relaunch"): that one gets it only from the user (Tab, a click).
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "alert_layout.h"
#include "core/toolkit.h"
#include "fonts.h"
#include "image.h"
#include "run_loop.h"

namespace tessary::update::win32 {

class Win32Alert;
class Win32Image;
class Win32ProgressIndicator;

// What runModal answers when Escape or the close box ends the dialog, or the
// host has gone: NSModalResponseCancel, never the first button.
inline constexpr ModalResponse modalResponseCancel = 0;

inline constexpr int iconControlId = 100;
inline constexpr int headlineControlId = 101;
inline constexpr int detailControlId = 102;
inline constexpr int barControlId = 103;

inline constexpr wchar_t alertWindowClass[] = L"TessaryUpdateDialog";
inline constexpr wchar_t alertWindowTitle[] = L"Tessary Update";

class Win32Button final : public Button {
public:
    Win32Button(Win32Alert& alert, HWND button) : alert_(alert), button_(button) {}
    void setTitle(const std::string& title) override;
    void setKeyEquivalent(const std::string& keyEquivalent) override;

    HWND handle() const { return button_; }
    const std::wstring& title() const { return title_; }
    bool pressedByReturn() const { return pressedByReturn_; }

private:
    Win32Alert& alert_;
    HWND button_;
    std::wstring title_;  // as given, "&" meant literally
    bool pressedByReturn_ = false;
};

class Win32Window final : public Window {
public:
    explicit Win32Window(HWND window) : window_(window) {}
    void makeKeyAndOrderFront() override;

private:
    HWND window_;
};

class Win32Alert final : public Alert {
public:
    // The alert's window, not shown yet; nullptr when Windows cannot create it.
    static std::unique_ptr<Win32Alert> create(RunLoop& runLoop);
    ~Win32Alert() override;
    Win32Alert(const Win32Alert&) = delete;
    Win32Alert& operator=(const Win32Alert&) = delete;

    void setAlertStyle(AlertStyle style) override;
    void setMessageText(const std::string& text) override;
    void setInformativeText(const std::string& text) override;
    void setIcon(Image& icon) override;
    Button& addButtonWithTitle(const std::string& title) override;
    std::size_t buttonsCount() const override { return buttons_.size(); }
    void setAccessoryView(View* view) override;
    void layout() override;
    ModalResponse runModal() override;
    Window& window() override { return windowObject_; }

    HWND handle() const { return window_; }
    UINT dpi() const { return dpi_; }

    // From the alert's own objects.
    void sizesMayHaveChanged() {
        sizesMayChange_ = true;
        scheduleApply();
    }
    void accessoryGone(Win32ProgressIndicator& indicator);
    // A button that Return no longer presses gives up the keyboard focus.
    void focusLeaves(const Win32Button& button);

private:
    Win32Alert(RunLoop& runLoop, HWND window);
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool handleKey(const MSG& message);

    // Texts reach the controls once the refresh pass that set them is over,
    // so a text set twice in one pass is shown once, in its last form.
    void scheduleApply();
    void applyTexts();
    bool showTexts();
    void relayout();
    AlertGeometry geometryFor(HDC dc) const;
    void useDetailControl(bool scrolls);
    void applyFonts();
    void applyIcons();
    void changeDpi(UINT dpi, const RECT* suggested);
    void settleFocus();
    HWND restingFocus() const;
    void focusOn(HWND control);
    void moveFocus(bool backwards);
    void paintBackground(HDC dc) const;
    RECT workArea() const;

    RunLoop& runLoop_;
    HWND window_;
    HWND icon_ = nullptr;
    HWND headline_ = nullptr;
    HWND detail_ = nullptr;
    HWND bar_ = nullptr;
    bool detailScrolls_ = false;
    std::vector<std::unique_ptr<Win32Button>> buttons_;
    Win32ProgressIndicator* accessory_ = nullptr;
    Win32Image* image_ = nullptr;  // the caller keeps it alive as long as the alert
    IconHandle defaultIcon_;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    AlertFonts fonts_;
    std::wstring messageText_;
    std::wstring informativeText_;
    bool applyScheduled_ = false;
    bool sizesMayChange_ = false;  // a button's title or the icon changed since the last layout
    bool placed_ = false;          // positioned on its monitor once
    AlertGeometry geometry_;
    HWND lastFocus_ = nullptr;     // where the focus was as the window was last deactivated
    bool focusUnsettled_ = false;  // moved off a button during a pass, to be placed once it is over
    Win32Window windowObject_;
};

}  // namespace tessary::update::win32
