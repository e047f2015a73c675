// A minimal notification-area host for the end-to-end tests: it owns the
// _NET_SYSTEM_TRAY_S0 selection, docks every icon that asks (the XEmbed tray
// protocol) into a 24 x 24 slot of its own top-level window at the screen's
// top right, and prints "docked N" and "undocked N" with the number of icons
// it holds, so a test can count them and click them. Ends on SIGTERM.

#include <xcb/xcb.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kSlot = 24;
constexpr uint32_t kRequestDock = 0;
constexpr uint32_t kXembedEmbeddedNotify = 0;

xcb_atom_t Atom(xcb_connection_t* c, const char* name)
{
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr), &std::free);
    return reply ? reply->atom : XCB_NONE;
}

volatile std::sig_atomic_t g_stop = 0;

} // namespace

int main()
{
    std::signal(SIGTERM, [](int) { g_stop = 1; });
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "tray_host: no display\n");
        return 1;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_atom_t selection = Atom(c, "_NET_SYSTEM_TRAY_S0");
    const xcb_atom_t opcode = Atom(c, "_NET_SYSTEM_TRAY_OPCODE");
    const xcb_atom_t manager = Atom(c, "MANAGER");
    const xcb_atom_t xembed = Atom(c, "_XEMBED");

    // The panel: a strip at the top right that grows with the icons.
    const xcb_window_t panel = xcb_generate_id(c);
    const uint32_t panelValues[] = {screen->white_pixel, 1, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, panel, screen->root, int16_t(screen->width_in_pixels - kSlot * 4), 0,
                      kSlot * 4, kSlot, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
                      XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, panelValues);
    xcb_map_window(c, panel);
    xcb_set_selection_owner(c, panel, selection, XCB_CURRENT_TIME);

    xcb_client_message_event_t announce {};
    announce.response_type = XCB_CLIENT_MESSAGE;
    announce.window = screen->root;
    announce.type = manager;
    announce.format = 32;
    announce.data.data32[0] = XCB_CURRENT_TIME;
    announce.data.data32[1] = selection;
    announce.data.data32[2] = panel;
    xcb_send_event(c, 0, screen->root, XCB_EVENT_MASK_STRUCTURE_NOTIFY, reinterpret_cast<const char*>(&announce));
    xcb_flush(c);
    std::printf("ready %u\n", panel);
    std::fflush(stdout);

    std::vector<xcb_window_t> icons;
    auto layout = [&] {
        for (size_t i = 0; i < icons.size(); ++i) {
            const uint32_t geometry[] = {uint32_t(i * kSlot), 0, kSlot, kSlot};
            xcb_configure_window(c, icons[i],
                                 XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                                     XCB_CONFIG_WINDOW_HEIGHT,
                                 geometry);
        }
        xcb_flush(c);
    };
    auto forget = [&](xcb_window_t window) {
        auto it = std::find(icons.begin(), icons.end(), window);
        if (it == icons.end())
            return;
        icons.erase(it);
        layout();
        std::printf("undocked %zu\n", icons.size());
        std::fflush(stdout);
    };

    while (!g_stop) {
        xcb_generic_event_t* raw = xcb_poll_for_event(c);
        if (!raw) {
            if (xcb_connection_has_error(c))
                break;
            struct timespec pause {0, 10 * 1000 * 1000};
            nanosleep(&pause, nullptr);
            continue;
        }
        std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> event(raw, &std::free);
        switch (event->response_type & 0x7F) {
        case XCB_CLIENT_MESSAGE: {
            auto* message = reinterpret_cast<xcb_client_message_event_t*>(raw);
            if (message->type != opcode || message->data.data32[1] != kRequestDock)
                break;
            const xcb_window_t icon = message->data.data32[2];
            if (std::find(icons.begin(), icons.end(), icon) != icons.end())
                break;
            const uint32_t watch[] = {XCB_EVENT_MASK_STRUCTURE_NOTIFY};
            xcb_change_window_attributes(c, icon, XCB_CW_EVENT_MASK, watch);
            xcb_reparent_window(c, icon, panel, int16_t(icons.size() * kSlot), 0);
            icons.push_back(icon);
            layout();
            xcb_map_window(c, icon);
            xcb_client_message_event_t embedded {};
            embedded.response_type = XCB_CLIENT_MESSAGE;
            embedded.window = icon;
            embedded.type = xembed;
            embedded.format = 32;
            embedded.data.data32[0] = XCB_CURRENT_TIME;
            embedded.data.data32[1] = kXembedEmbeddedNotify;
            embedded.data.data32[3] = panel;
            xcb_send_event(c, 0, icon, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&embedded));
            xcb_flush(c);
            std::printf("docked %zu\n", icons.size());
            std::fflush(stdout);
            break;
        }
        case XCB_DESTROY_NOTIFY: forget(reinterpret_cast<xcb_destroy_notify_event_t*>(raw)->window); break;
        case XCB_UNMAP_NOTIFY: forget(reinterpret_cast<xcb_unmap_notify_event_t*>(raw)->window); break;
        case XCB_REPARENT_NOTIFY: {
            auto* reparent = reinterpret_cast<xcb_reparent_notify_event_t*>(raw);
            if (reparent->parent != panel)
                forget(reparent->window);
            break;
        }
        default: break;
        }
    }
    xcb_disconnect(c);
    return 0;
}
