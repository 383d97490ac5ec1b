/* Moves and clicks a virtual pointer in a wlroots compositor, for end-to-end tests.
 *
 *   vpointer WIDTH HEIGHT move X Y    put the pointer at X,Y
 *   vpointer WIDTH HEIGHT click X Y   put the pointer at X,Y, then press and release the left
 * button vpointer WIDTH HEIGHT hold        keep a pointer device on the seat until SIGTERM/SIGINT
 *
 * X,Y are absolute within an extent of WIDTH x HEIGHT that covers the whole output layout
 * (give the layout's size in pixels to address pixels). The compositor adds a pointer
 * device to the seat while this program runs and removes it when it ends.
 */
#define _POSIX_C_SOURCE 200809L

#include <errno.h>
#include <linux/input-event-codes.h>
#include <signal.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

#include <wayland-client.h>

#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

struct state {
    struct wl_seat* seat;
    struct zwlr_virtual_pointer_manager_v1* manager;
};

static void registry_global(void* data, struct wl_registry* registry, uint32_t name,
                            const char* interface, uint32_t version) {
    struct state* st = data;
    if (strcmp(interface, wl_seat_interface.name) == 0 && !st->seat) {
        st->seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
    } else if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        uint32_t v = version < 2 ? version : 2;
        st->manager =
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, v);
    }
}

static void registry_global_remove(void* data, struct wl_registry* registry, uint32_t name) {
    (void)data;
    (void)registry;
    (void)name;
}

static const struct wl_registry_listener registry_listener = {
    .global = registry_global,
    .global_remove = registry_global_remove,
};

static uint32_t now_ms(void) {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (uint32_t)((uint64_t)ts.tv_sec * 1000u + (uint64_t)ts.tv_nsec / 1000000u);
}

static void sleep_ms(long ms) {
    struct timespec ts = {ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&ts, &ts) == -1 && errno == EINTR) {
    }
}

static int parse_uint(const char* text, uint32_t* out) {
    char* end = NULL;
    errno = 0;
    unsigned long value = strtoul(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || text[0] == '-' || value > 1000000ul)
        return 0;
    *out = (uint32_t)value;
    return 1;
}

static int sync_or_fail(struct wl_display* display, const char* step) {
    if (wl_display_roundtrip(display) < 0) {
        fprintf(stderr, "vpointer: connection lost after %s\n", step);
        return 0;
    }
    return 1;
}

static volatile sig_atomic_t stop_requested = 0;

static void on_signal(int sig) {
    (void)sig;
    stop_requested = 1;
}

static int usage(void) {
    fprintf(stderr, "usage: vpointer WIDTH HEIGHT move X Y\n"
                    "       vpointer WIDTH HEIGHT click X Y\n"
                    "       vpointer WIDTH HEIGHT hold\n");
    return 2;
}

int main(int argc, char** argv) {
    if (argc < 4)
        return usage();
    uint32_t width = 0, height = 0, x = 0, y = 0;
    const char* command = argv[3];
    int hold = strcmp(command, "hold") == 0;
    int click = strcmp(command, "click") == 0;
    if (!parse_uint(argv[1], &width) || !parse_uint(argv[2], &height) || width == 0 || height == 0)
        return usage();
    if (hold) {
        if (argc != 4)
            return usage();
    } else if (click || strcmp(command, "move") == 0) {
        if (argc != 6 || !parse_uint(argv[4], &x) || !parse_uint(argv[5], &y))
            return usage();
        if (x >= width || y >= height) {
            fprintf(stderr, "vpointer: %u,%u lies outside %ux%u\n", x, y, width, height);
            return 2;
        }
    } else {
        return usage();
    }

    struct wl_display* display = wl_display_connect(NULL);
    if (!display) {
        fprintf(stderr, "vpointer: cannot connect to the Wayland display (WAYLAND_DISPLAY=%s)\n",
                getenv("WAYLAND_DISPLAY") ? getenv("WAYLAND_DISPLAY") : "(unset)");
        return 1;
    }
    struct state st = {0};
    struct wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, &st);
    if (!sync_or_fail(display, "registry"))
        return 1;
    if (!st.manager) {
        fprintf(stderr, "vpointer: the compositor offers no %s\n",
                zwlr_virtual_pointer_manager_v1_interface.name);
        return 1;
    }

    struct zwlr_virtual_pointer_v1* pointer =
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(st.manager, st.seat);
    if (!sync_or_fail(display, "create_virtual_pointer"))
        return 1;
    /* Let clients learn about the new pointer capability before anything happens. */
    sleep_ms(50);

    int status = 0;
    if (hold) {
        struct sigaction sa;
        memset(&sa, 0, sizeof sa);
        sa.sa_handler = on_signal;
        sigaction(SIGTERM, &sa, NULL);
        sigaction(SIGINT, &sa, NULL);
        while (!stop_requested) {
            if (wl_display_roundtrip(display) < 0) {
                fprintf(stderr, "vpointer: connection lost while holding\n");
                status = 1;
                break;
            }
            sleep_ms(200);
        }
    } else {
        zwlr_virtual_pointer_v1_motion_absolute(pointer, now_ms(), x, y, width, height);
        zwlr_virtual_pointer_v1_frame(pointer);
        if (!sync_or_fail(display, "motion"))
            return 1;
        if (click) {
            /* Give the client under the pointer time to handle enter/motion first. */
            sleep_ms(150);
            zwlr_virtual_pointer_v1_button(pointer, now_ms(), BTN_LEFT,
                                           WL_POINTER_BUTTON_STATE_PRESSED);
            zwlr_virtual_pointer_v1_frame(pointer);
            if (!sync_or_fail(display, "button press"))
                return 1;
            sleep_ms(60);
            zwlr_virtual_pointer_v1_button(pointer, now_ms(), BTN_LEFT,
                                           WL_POINTER_BUTTON_STATE_RELEASED);
            zwlr_virtual_pointer_v1_frame(pointer);
            if (!sync_or_fail(display, "button release"))
                return 1;
        }
        /* Clients read their events before the device goes away with this connection. */
        sleep_ms(100);
    }

    zwlr_virtual_pointer_v1_destroy(pointer);
    zwlr_virtual_pointer_manager_v1_destroy(st.manager);
    if (st.seat)
        wl_seat_destroy(st.seat);
    wl_registry_destroy(registry);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return status;
}
