/* Starts a program and reports, in milliseconds, how long after its start its first top-level
 * window was mapped on the X display; then, if asked, lets it run a while longer and ends it with
 * SIGTERM (which the game answers by closing its main window the normal way).
 *
 *   mapwatch [--after SECONDS] -- program [arguments...]
 *
 * Prints "mapped_ms <n>" and exits with the program's status (1 when no window appeared). */
#include <X11/Xlib.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

int main(int argc, char** argv) {
    double after = -1;
    int i = 1;
    for (; i < argc && strcmp(argv[i], "--") != 0; ++i)
        if (strcmp(argv[i], "--after") == 0 && i + 1 < argc) after = atof(argv[++i]);
    if (i + 1 >= argc) {
        fprintf(stderr, "usage: mapwatch [--after SECONDS] -- program [arguments...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "mapwatch: no X display\n");
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const double start = now_ms();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[i + 1], argv + i + 1);
        _exit(127);
    }
    /* Wait for the first MapNotify of a top-level window (menus and tool tips are override-redirect). */
    const int fd = ConnectionNumber(display);
    double mapped = -1;
    while (mapped < 0) {
        while (XPending(display)) {
            XEvent e;
            XNextEvent(display, &e);
            if (e.type == MapNotify && !e.xmap.override_redirect && mapped < 0) mapped = now_ms() - start;
        }
        if (mapped >= 0) break;
        int status;
        if (waitpid(child, &status, WNOHANG) == child) {
            fprintf(stderr, "mapwatch: the program ended before mapping a window\n");
            return 1;
        }
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(fd, &fds);
        struct timeval step = {0, 20000};
        select(fd + 1, &fds, NULL, NULL, &step);
    }
    printf("mapped_ms %.1f\n", mapped);
    fflush(stdout);
    if (after >= 0) {
        usleep((useconds_t)(after * 1e6));
        kill(child, SIGTERM);
    }
    int status = 0;
    waitpid(child, &status, 0);
    XCloseDisplay(display);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
