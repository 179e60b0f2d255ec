#include "x11_window_hints.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <xcb/xcb.h>
#include <QGuiApplication>
#include <QWidget>

namespace tessary::update::qt {
namespace {

xcb_connection_t* x11Connection() {
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

template <typename Reply>
using ReplyPointer = std::unique_ptr<Reply, decltype(&std::free)>;

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name) {
    const auto cookie = xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    const ReplyPointer<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection, cookie, nullptr),
                                                      &std::free);
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

xcb_window_t rootOf(xcb_connection_t* connection) {
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
}

// An EWMH window manager announces itself on the root window.
bool windowManagerRunning(xcb_connection_t* connection) {
    const xcb_atom_t check = internAtom(connection, "_NET_SUPPORTING_WM_CHECK");
    if (check == XCB_ATOM_NONE) return false;
    const auto cookie = xcb_get_property(connection, 0, rootOf(connection), check, XCB_ATOM_WINDOW, 0, 1);
    const ReplyPointer<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection, cookie, nullptr),
                                                       &std::free);
    return reply && xcb_get_property_value_length(reply.get()) >= 4;
}

}  // namespace

TaskbarExclusion::TaskbarExclusion() : connection_(x11Connection()) {
    if (!connection_) return;
    const auto ask = [this](const char* name) {
        return xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    };
    atoms_ = {ask("_NET_WM_STATE"), ask("_NET_WM_STATE_SKIP_TASKBAR"), ask("_NET_WM_STATE_SKIP_PAGER")};
    xcb_flush(connection_);
}

TaskbarExclusion::~TaskbarExclusion() {
    if (!connection_) return;
    for (const auto& atom : atoms_) xcb_discard_reply(connection_, atom.sequence);
}

// Qt keeps the states it finds on an unmapped window when it maps it, so the
// two skip states written here survive the first show.
void TaskbarExclusion::applyTo(QWidget& window) {
    if (!connection_) return;
    std::array<xcb_atom_t, 3> atoms{};
    for (std::size_t i = 0; i < atoms.size(); ++i) {
        const ReplyPointer<xcb_intern_atom_reply_t> reply(
            xcb_intern_atom_reply(connection_, atoms_[i], nullptr), &std::free);
        atoms[i] = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    }
    xcb_connection_t* connection = connection_;
    connection_ = nullptr;  // every answer is taken
    if (std::find(atoms.begin(), atoms.end(), static_cast<xcb_atom_t>(XCB_ATOM_NONE)) != atoms.end()) return;
    const auto windowId = static_cast<xcb_window_t>(window.winId());
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, windowId, atoms[0], XCB_ATOM_ATOM, 32, 2,
                        &atoms[1]);
    xcb_flush(connection);
}

bool activateOnX11(QWidget& window) {
    xcb_connection_t* connection = x11Connection();
    if (!connection) return false;
    const auto windowId = static_cast<xcb_window_t>(window.winId());
    if (windowManagerRunning(connection)) {
        xcb_client_message_event_t request{};
        request.response_type = XCB_CLIENT_MESSAGE;
        request.format = 32;
        request.window = windowId;
        request.type = internAtom(connection, "_NET_ACTIVE_WINDOW");
        request.data.data32[0] = 2;  // source: a direct request of the user
        request.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(connection, 0, rootOf(connection),
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&request));
    } else {
        const std::uint32_t above = XCB_STACK_MODE_ABOVE;
        xcb_configure_window(connection, windowId, XCB_CONFIG_WINDOW_STACK_MODE, &above);
        xcb_set_input_focus(connection, XCB_INPUT_FOCUS_PARENT, windowId, XCB_CURRENT_TIME);
    }
    xcb_flush(connection);
    return true;
}

}  // namespace tessary::update::qt
