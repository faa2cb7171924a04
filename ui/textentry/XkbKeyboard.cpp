// The X11 keyboard backend: the configured layouts come from the root
// window's _XKB_RULES_NAMES property (what setxkbmap and the desktop's
// keyboard settings write), the active one is the XKB group, and activating
// locks the group, as the desktop's own layout switcher does.

#include "ui/textentry/KeyboardSwitcher.h"

#include <xcb/xcb.h>
// The C header names a field "explicit".
#ifdef __clang__
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wkeyword-macro"
#endif
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#ifdef __clang__
#pragma clang diagnostic pop
#endif

#include <cstdlib>
#include <cstring>
#include <string>

namespace vocalore {

namespace {

template <typename T> struct TReply {
    T* Value;
    explicit TReply(T* value) : Value(value) {}
    ~TReply() { std::free(Value); }
    TReply(const TReply&) = delete;
    TReply& operator=(const TReply&) = delete;
    T* operator->() const { return Value; }
    explicit operator bool() const { return Value != nullptr; }
};

class TXkbKeyboard final : public TKeyboardBackend {
public:
    TXkbKeyboard(xcb_connection_t* connection, xcb_window_t root, xcb_atom_t rulesAtom)
        : FConnection(connection), FRoot(root), FRulesAtom(rulesAtom) {}
    ~TXkbKeyboard() override { xcb_disconnect(FConnection); }

    std::vector<TXkbLayout> Layouts() override {
        const TReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
            FConnection,
            xcb_get_property(FConnection, 0, FRoot, FRulesAtom, XCB_ATOM_STRING, 0, 1024),
            nullptr));
        if (!reply || reply->format != 8)
            return {};
        // rules, model, layouts, variants, options; each ends with a zero byte.
        const char* data = static_cast<const char*>(xcb_get_property_value(reply.Value));
        const std::string value(data,
                                static_cast<size_t>(xcb_get_property_value_length(reply.Value)));
        std::vector<std::string> fields;
        size_t start = 0;
        while (start <= value.size() && fields.size() < 5) {
            size_t end = value.find('\0', start);
            if (end == std::string::npos)
                end = value.size();
            fields.push_back(value.substr(start, end - start));
            start = end + 1;
        }
        if (fields.size() < 3)
            return {};
        return ParseXkbLayouts(fields[2], fields.size() > 3 ? fields[3] : std::string());
    }

    int ActiveLayout() override {
        const TReply<xcb_xkb_get_state_reply_t> reply(xcb_xkb_get_state_reply(
            FConnection, xcb_xkb_get_state(FConnection, XCB_XKB_ID_USE_CORE_KBD), nullptr));
        return reply ? reply->group : -1;
    }

    void ActivateLayout(int index) override {
        if (index < 0 || index > 3)
            return;
        xcb_xkb_latch_lock_state(FConnection, XCB_XKB_ID_USE_CORE_KBD, 0, 0, 1,
                                 static_cast<uint8_t>(index), 0, 0, 0);
        xcb_flush(FConnection);
    }

private:
    xcb_connection_t* FConnection;
    xcb_window_t FRoot;
    xcb_atom_t FRulesAtom;
};

} // namespace

std::unique_ptr<TKeyboardBackend> MakeXkbKeyboard(const char* display) {
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(display, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return nullptr;
    }
    const TReply<xcb_xkb_use_extension_reply_t> xkb(xcb_xkb_use_extension_reply(
        connection, xcb_xkb_use_extension(connection, XCB_XKB_MAJOR_VERSION, XCB_XKB_MINOR_VERSION),
        nullptr));
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    constexpr const char* RulesName = "_XKB_RULES_NAMES";
    const TReply<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 1, static_cast<uint16_t>(std::strlen(RulesName)), RulesName),
        nullptr));
    if (!xkb || !xkb->supported || screens.rem == 0 || !atom || atom->atom == XCB_ATOM_NONE) {
        xcb_disconnect(connection);
        return nullptr;
    }
    return std::make_unique<TXkbKeyboard>(connection, screens.data->root, atom->atom);
}

} // namespace vocalore
