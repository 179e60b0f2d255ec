#include "run_loop.h"

#include <utility>

namespace tessary::update::win32 {
namespace {

constexpr wchar_t windowClass[] = L"TessaryUpdateRunLoop";

}  // namespace

bool MainThreadChannel::post(std::function<void()> work) {
    const std::lock_guard lock(mutex_);
    if (window_ == nullptr) return false;
    queue_.push_back(std::move(work));
    // One wake-up for a whole batch: the queue is drained as one.
    if (!wakePending_) wakePending_ = PostMessageW(window_, postedWorkMessage, 0, 0) != FALSE;
    return true;
}

std::deque<std::function<void()>> MainThreadChannel::take() {
    const std::lock_guard lock(mutex_);
    wakePending_ = false;
    return std::exchange(queue_, {});
}

void MainThreadChannel::close() {
    const std::lock_guard lock(mutex_);
    window_ = nullptr;
    queue_.clear();
}

std::unique_ptr<RunLoop> RunLoop::create() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW registration{};
    registration.cbSize = sizeof registration;
    registration.lpfnWndProc = procedure;
    registration.hInstance = instance;
    registration.lpszClassName = windowClass;
    if (RegisterClassExW(&registration) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
    const HWND window =
        CreateWindowExW(0, windowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    if (window == nullptr) return nullptr;
    std::unique_ptr<RunLoop> loop(new RunLoop(window));
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(loop.get()));
    return loop;
}

RunLoop::RunLoop(HWND window) : window_(window), channel_(std::make_shared<MainThreadChannel>(window)) {}

RunLoop::~RunLoop() {
    channel_->close();
    for (const auto& [timer, fire] : timers_) KillTimer(window_, timer);
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
}

RunLoop::TimerId RunLoop::addTimer(std::function<void()> fire) {
    const TimerId timer = nextTimer_++;
    timers_.emplace(timer, std::move(fire));
    return timer;
}

void RunLoop::startTimer(TimerId timer, UINT milliseconds) {
    if (timers_.contains(timer)) SetTimer(window_, timer, milliseconds, nullptr);
}

void RunLoop::stopTimer(TimerId timer) {
    KillTimer(window_, timer);
}

void RunLoop::removeTimer(TimerId timer) {
    KillTimer(window_, timer);
    timers_.erase(timer);
}

void RunLoop::requestStop(ModalResponse response) {
    if (!stop_) stop_ = response;
    PostMessageW(window_, WM_NULL, 0, 0);  // wakes a loop waiting for a message
}

ModalResponse RunLoop::takeStop() {
    const ModalResponse response = stop_.value_or(0);
    stop_.reset();
    return response;
}

void RunLoop::runPostedWork() {
    for (auto& work : channel_->take()) work();
}

LRESULT CALLBACK RunLoop::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* loop = reinterpret_cast<RunLoop*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (loop != nullptr) {
        if (message == WM_TIMER) {
            // A timer removed meanwhile may have left a WM_TIMER behind: it finds nothing.
            const auto found = loop->timers_.find(static_cast<TimerId>(wParam));
            if (found != loop->timers_.end()) {
                const auto fire = found->second;  // the timer may go while it fires
                fire();
            }
            return 0;
        }
        if (message == postedWorkMessage) {
            loop->runPostedWork();
            return 0;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace tessary::update::win32
