/* The floor for a whole-screen copy on X: one XGetImage of the root window, timed as
 * the median of 15 after a warm-up. A native Linux tool (Windows programs under Wine
 * cannot call Xlib), built and run by hand beside vx_bench:
 *   cc -O2 -o capture_xgetimage bench/capture_xgetimage.c -lX11
 *   DISPLAY=:N ./capture_xgetimage                                             */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static double now_ms(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static int compare(const void* a, const void* b) {
    const double x = *(const double*)a, y = *(const double*)b;
    return x < y ? -1 : x > y;
}

int main(void) {
    Display* display = XOpenDisplay(NULL);
    if (!display) return 1;
    const Window root = DefaultRootWindow(display);
    XWindowAttributes attributes;
    XGetWindowAttributes(display, root, &attributes);
    double times[15];
    XDestroyImage(XGetImage(display, root, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap));
    for (int i = 0; i < 15; ++i) {
        const double start = now_ms();
        XImage* image = XGetImage(display, root, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
        times[i] = now_ms() - start;
        XDestroyImage(image);
    }
    qsort(times, 15, sizeof times[0], compare);
    printf("XGetImage of the root %dx%d: %.3f ms (median of 15)\n", attributes.width, attributes.height, times[7]);
    XCloseDisplay(display);
    return 0;
}
