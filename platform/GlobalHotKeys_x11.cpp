// Global hot keys on X11: passive key grabs on the root window, seen through Qt's native
// event filter.

#include "KeyNames.h"
#include "PlatformBackends.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>

#include <algorithm>
#include <cstdlib>
#include <vector>

// Xlib and xcb last: their macros collide with Qt.
#include <X11/Xlib.h>
#include <xcb/xcb.h>

namespace chromint::backend {

namespace {

// The lock modifiers a user may have on; a grab must hold for every combination of them.
constexpr std::uint16_t kLockVariants[] = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2,
                                           XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};
constexpr std::uint16_t kUsedModifiers =
    XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4;

std::uint16_t ToXModifiers(unsigned modifiers) {
    std::uint16_t mask = 0;
    if (modifiers & GlobalHotKeys::ModShift)
        mask |= XCB_MOD_MASK_SHIFT;
    if (modifiers & GlobalHotKeys::ModCtrl)
        mask |= XCB_MOD_MASK_CONTROL;
    if (modifiers & GlobalHotKeys::ModAlt)
        mask |= XCB_MOD_MASK_1;
    if (modifiers & GlobalHotKeys::ModWin)
        mask |= XCB_MOD_MASK_4;
    return mask;
}

class GlobalHotKeysX11 final : public GlobalHotKeys, public QAbstractNativeEventFilter {
public:
    GlobalHotKeysX11() {
        if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
            display_ = x11->display();
            connection_ = x11->connection();
        }
        if (connection_ != nullptr) {
            const xcb_setup_t* setup = xcb_get_setup(connection_);
            root_ = xcb_setup_roots_iterator(setup).data->root;
            QCoreApplication::instance()->installNativeEventFilter(this);
        }
    }

    ~GlobalHotKeysX11() override {
        if (connection_ == nullptr)
            return;
        QCoreApplication::instance()->removeNativeEventFilter(this);
        while (!grabs_.empty())
            Ungrab(grabs_.back().modifiers, grabs_.back().virtualKey);
    }

    bool Available() const override { return connection_ != nullptr; }

    GrabResult Grab(unsigned modifiers, int virtualKey) override {
        if (connection_ == nullptr)
            return GrabResult::Unavailable;
        if (Holds(modifiers, virtualKey))
            return GrabResult::Taken;
        const xcb_keycode_t keycode = KeycodeOf(virtualKey);
        if (keycode == 0)
            return GrabResult::NoSuchKey;
        const std::uint16_t mask = ToXModifiers(modifiers);
        // Send every variant, then check each: another client's grab answers BadAccess.
        std::vector<xcb_void_cookie_t> cookies;
        for (std::uint16_t lock : kLockVariants)
            cookies.push_back(xcb_grab_key_checked(connection_, 1, root_, mask | lock, keycode,
                                                   XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        bool taken = false;
        for (xcb_void_cookie_t cookie : cookies) {
            if (xcb_generic_error_t* error = xcb_request_check(connection_, cookie)) {
                taken = true;
                std::free(error);
            }
        }
        if (taken) {
            // Give back the variants that did succeed, so nothing stays half held.
            ReleaseKey(keycode, mask);
            return GrabResult::Taken;
        }
        grabs_.push_back({modifiers, virtualKey, keycode, mask});
        return GrabResult::Grabbed;
    }

    bool Ungrab(unsigned modifiers, int virtualKey) override {
        const auto it = Find(modifiers, virtualKey);
        if (it == grabs_.end())
            return false;
        ReleaseKey(it->keycode, it->mask);
        grabs_.erase(it);
        return true;
    }

    bool Holds(unsigned modifiers, int virtualKey) const override {
        return std::any_of(grabs_.begin(), grabs_.end(), [&](const Entry& entry) {
            return entry.modifiers == modifiers && entry.virtualKey == virtualKey;
        });
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_KEY_PRESS)
            return false;
        const auto* press = static_cast<const xcb_key_press_event_t*>(message);
        const std::uint16_t mask = press->state & kUsedModifiers;
        for (const Entry& entry : grabs_) {
            if (entry.keycode == press->detail && entry.mask == mask) {
                // Copy: the handler may remove this very entry.
                const Entry pressed = entry;
                if (OnPressed)
                    OnPressed(pressed.modifiers, pressed.virtualKey);
                return true;
            }
        }
        return false;
    }

private:
    struct Entry {
        unsigned modifiers;
        int virtualKey;
        xcb_keycode_t keycode;
        std::uint16_t mask;
    };

    std::vector<Entry>::iterator Find(unsigned modifiers, int virtualKey) {
        return std::find_if(grabs_.begin(), grabs_.end(), [&](const Entry& entry) {
            return entry.modifiers == modifiers && entry.virtualKey == virtualKey;
        });
    }

    xcb_keycode_t KeycodeOf(int virtualKey) const {
        const std::uint32_t keysym = VirtualKeyToKeysym(virtualKey);
        if (keysym == 0 || display_ == nullptr)
            return 0;
        return XKeysymToKeycode(display_, keysym);
    }

    void ReleaseKey(xcb_keycode_t keycode, std::uint16_t mask) {
        for (std::uint16_t lock : kLockVariants)
            xcb_ungrab_key(connection_, keycode, root_, mask | lock);
        xcb_flush(connection_);
    }

    Display* display_ = nullptr;
    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = 0;
    std::vector<Entry> grabs_;
};

} // namespace

std::unique_ptr<GlobalHotKeys> CreateGlobalHotKeysX11() {
    return std::make_unique<GlobalHotKeysX11>();
}

} // namespace chromint::backend
