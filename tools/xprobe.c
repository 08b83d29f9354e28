/* A probe of a window in an X display (Xvfb is enough), to measure terminals
 * side by side the same way: it sees only what the X server sees, the keys it
 * sends and the pixels it reads back, so the application's terminal, xterm
 * and alacritty are measured alike. scripts/typing-latency.sh drives it.
 *
 *   orva-xprobe map TIMEOUT OUT -- COMMAND [ARGUMENT...]
 *
 * Starts COMMAND and waits, at most TIMEOUT seconds, for its first top-level
 * window to be mapped and then for the first look at that window that holds
 * more than one colour (its first paint). COMMAND is left running. OUT gets
 * one line: "PID WINDOW MAP_S PAINT_S WIDTHxHEIGHT" (seconds from the start,
 * -1 for what never came).
 *
 *   orva-xprobe lat WINDOW N KEYSYM OUT
 *
 * Gives WINDOW the keyboard, then N times sends a press and release of KEYSYM
 * through XTest and reads the window's pixels back (XShmGetImage of the root
 * window over its place) until any of them changes. OUT gets one line per
 * key: the milliseconds from the key to the first changed pixel (-1 when
 * nothing changed within 2 s) and the number of reads it took. The keys are
 * 150-300 ms apart, so that no key meets the frame of the one before.
 *
 * The terminal must echo the key (a shell at its prompt does). Built by CMake
 * where libX11, libXext and libXtst are found (Debian: libx11-dev, libxext-dev,
 * libxtst-dev).
 */
#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

/* A rectangle of the root window read through shared memory. */
typedef struct {
    XImage* image;
    XShmSegmentInfo shm;
    int x, y;
} Grab;

static int grabInit(Display* display, Grab* grab, int x, int y, int width, int height)
{
    const int screen = DefaultScreen(display);
    grab->x = x;
    grab->y = y;
    grab->image = XShmCreateImage(display, DefaultVisual(display, screen), (unsigned)DefaultDepth(display, screen),
                                  ZPixmap, NULL, &grab->shm, (unsigned)width, (unsigned)height);
    if (!grab->image)
        return -1;
    grab->shm.shmid = shmget(IPC_PRIVATE, (size_t)grab->image->bytes_per_line * (size_t)grab->image->height,
                             IPC_CREAT | 0600);
    if (grab->shm.shmid < 0)
        return -1;
    grab->shm.shmaddr = grab->image->data = shmat(grab->shm.shmid, NULL, 0);
    if (grab->shm.shmaddr == (char*)-1)
        return -1;
    grab->shm.readOnly = False;
    XShmAttach(display, &grab->shm);
    XSync(display, False);
    /* Marked for removal now: it goes when this process ends, however it ends. */
    shmctl(grab->shm.shmid, IPC_RMID, NULL);
    return 0;
}

/* Gives back what grabInit took (the image's shared memory is not its own). */
static void grabFree(Display* display, Grab* grab)
{
    XShmDetach(display, &grab->shm);
    shmdt(grab->shm.shmaddr);
    grab->image->data = NULL;
    XDestroyImage(grab->image);
    grab->image = NULL;
}

static void grabRead(Display* display, Grab* grab)
{
    XShmGetImage(display, DefaultRootWindow(display), grab->image, grab->x, grab->y, AllPlanes);
}

static size_t grabBytes(const Grab* grab)
{
    return (size_t)grab->image->bytes_per_line * (size_t)grab->image->height;
}

/* The window's place on the root window, cut to the screen. */
static int windowArea(Display* display, Window window, int* x, int* y, int* width, int* height)
{
    XWindowAttributes attributes;
    Window child;
    if (!XGetWindowAttributes(display, window, &attributes))
        return -1;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, x, y, &child);
    const int screenWidth = DisplayWidth(display, DefaultScreen(display));
    const int screenHeight = DisplayHeight(display, DefaultScreen(display));
    *width = attributes.width;
    *height = attributes.height;
    if (*x < 0) {
        *width += *x;
        *x = 0;
    }
    if (*y < 0) {
        *height += *y;
        *y = 0;
    }
    if (*x + *width > screenWidth)
        *width = screenWidth - *x;
    if (*y + *height > screenHeight)
        *height = screenHeight - *y;
    return *width > 0 && *height > 0 ? 0 : -1;
}

static int holdsMoreThanOneColour(XImage* image, int width, int height)
{
    const unsigned long first = XGetPixel(image, 0, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (XGetPixel(image, x, y) != first)
                return 1;
    return 0;
}

static int commandMap(char** argv)
{
    const double timeout = atof(argv[2]);
    const char* out = argv[3];
    char** command = argv + 5;
    Display* display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "no X display\n");
        return 1;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, True);

    const double start = now();
    const pid_t pid = fork();
    if (pid < 0)
        return 1;
    if (pid == 0) {
        execvp(command[0], command);
        _exit(127);
    }

    /* The first top-level window of a useful size that is mapped. */
    Window window = 0;
    double mapped = -1;
    while (!window && now() - start < timeout) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type != MapNotify || event.xmap.override_redirect ||
                event.xmap.event != DefaultRootWindow(display))
                continue;
            XWindowAttributes attributes;
            if (XGetWindowAttributes(display, event.xmap.window, &attributes) && attributes.width > 50 &&
                attributes.height > 50) {
                window = event.xmap.window;
                mapped = now() - start;
                break;
            }
        }
        if (!window) {
            int status;
            if (waitpid(pid, &status, WNOHANG) == pid) {
                fprintf(stderr, "the command ended before its window\n");
                return 2;
            }
            usleep(200);
        }
    }
    if (!window) {
        fprintf(stderr, "no window within %g s\n", timeout);
        kill(pid, SIGTERM);
        return 3;
    }

    double painted = -1;
    int x = 0, y = 0, width = 0, height = 0;
    Grab grab;
    if (windowArea(display, window, &x, &y, &width, &height) == 0 &&
        grabInit(display, &grab, x, y, width, height) == 0) {
        while (now() - start < timeout) {
            grabRead(display, &grab);
            if (holdsMoreThanOneColour(grab.image, width, height)) {
                painted = now() - start;
                break;
            }
            usleep(1000);
        }
        grabFree(display, &grab);
    }
    FILE* file = fopen(out, "w");
    if (!file) {
        perror(out);
        return 1;
    }
    fprintf(file, "%d 0x%lx %.4f %.4f %dx%d\n", (int)pid, (unsigned long)window, mapped, painted, width, height);
    fclose(file);
    XCloseDisplay(display);
    return 0;
}

static int commandLatency(char** argv)
{
    const Window window = strtoul(argv[2], NULL, 0);
    const int keys = atoi(argv[3]);
    const KeySym keysym = XStringToKeysym(argv[4]);
    const char* out = argv[5];
    if (keysym == NoSymbol) {
        fprintf(stderr, "no key named %s\n", argv[4]);
        return 64;
    }
    Display* display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "no X display\n");
        return 1;
    }
    int eventBase, errorBase, major, minor;
    if (!XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor)) {
        fprintf(stderr, "the X server has no XTest\n");
        return 1;
    }
    const KeyCode keycode = XKeysymToKeycode(display, keysym);
    XRaiseWindow(display, window);
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    XSync(display, False);
    usleep(500000);

    int x, y, width, height;
    if (windowArea(display, window, &x, &y, &width, &height))
        return 1;
    Grab before, after;
    if (grabInit(display, &before, x, y, width, height) || grabInit(display, &after, x, y, width, height))
        return 1;
    FILE* file = fopen(out, "w");
    if (!file) {
        perror(out);
        return 1;
    }
    srand((unsigned)getpid());
    for (int i = 0; i < keys; ++i) {
        grabRead(display, &before);
        const double sent = now();
        XTestFakeKeyEvent(display, keycode, True, 0);
        XTestFakeKeyEvent(display, keycode, False, 0);
        XFlush(display);
        double latency = -1;
        int reads = 0;
        while (now() - sent < 2.0) {
            grabRead(display, &after);
            ++reads;
            if (memcmp(before.image->data, after.image->data, grabBytes(&before))) {
                latency = (now() - sent) * 1000;
                break;
            }
        }
        fprintf(file, "%.2f %d\n", latency, reads);
        fflush(file);
        usleep(150000 + (unsigned)(rand() % 150000));
    }
    fclose(file);
    grabFree(display, &before);
    grabFree(display, &after);
    XCloseDisplay(display);
    return 0;
}

int main(int argc, char** argv)
{
    if (argc >= 6 && !strcmp(argv[1], "map") && !strcmp(argv[4], "--"))
        return commandMap(argv);
    if (argc >= 6 && !strcmp(argv[1], "lat"))
        return commandLatency(argv);
    fprintf(stderr, "usage: orva-xprobe map TIMEOUT OUT -- COMMAND [ARGUMENT...]\n"
                    "       orva-xprobe lat WINDOW N KEYSYM OUT\n");
    return 64;
}
