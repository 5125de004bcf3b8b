/* A stand-in for libXinerama.so.1, for the tests only: it reports the heads listed in the
 * environment variable TS_HEADS ("WxH+X+Y,WxH+X+Y,...", X screen coordinates) whatever the X
 * server has, so one plain virtual display can show a desk of several monitors. Without
 * TS_HEADS, or with nothing readable in it, there is no Xinerama at all. */
#include <stdlib.h>

typedef struct _XDisplay Display;
typedef int Bool;

typedef struct {
    int screen_number;
    short x_org;
    short y_org;
    short width;
    short height;
} XineramaScreenInfo;

enum { MaxHeads = 16 };

static int ReadHeads(XineramaScreenInfo* heads) {
    const char* s = getenv("TS_HEADS");
    int n = 0;
    while (s && *s && n < MaxHeads) {
        char* end;
        long v[4];
        int i;
        for (i = 0; i < 4; ++i) {
            v[i] = strtol(s, &end, 10);
            if (end == s) return 0; /* malformed: report no heads rather than a wrong desk */
            s = end;
            if (i < 3) {
                if (*s != (i == 0 ? 'x' : '+')) return 0;
                ++s;
            }
        }
        if (v[0] <= 0 || v[1] <= 0) return 0;
        heads[n].screen_number = n;
        heads[n].width = (short)v[0];
        heads[n].height = (short)v[1];
        heads[n].x_org = (short)v[2];
        heads[n].y_org = (short)v[3];
        ++n;
        if (*s == ',')
            ++s;
        else if (*s)
            return 0;
    }
    return n;
}

Bool XineramaQueryExtension(Display* dpy, int* event_base, int* error_base) {
    XineramaScreenInfo heads[MaxHeads];
    (void)dpy;
    if (event_base) *event_base = 0;
    if (error_base) *error_base = 0;
    return ReadHeads(heads) > 0;
}

int XineramaQueryVersion(Display* dpy, int* major, int* minor) {
    (void)dpy;
    if (major) *major = 1;
    if (minor) *minor = 1;
    return 1;
}

Bool XineramaIsActive(Display* dpy) {
    XineramaScreenInfo heads[MaxHeads];
    (void)dpy;
    return ReadHeads(heads) > 0;
}

/* The caller frees the result with XFree, which is free(). */
XineramaScreenInfo* XineramaQueryScreens(Display* dpy, int* number) {
    XineramaScreenInfo heads[MaxHeads];
    XineramaScreenInfo* out;
    int n = ReadHeads(heads), i;
    (void)dpy;
    if (number) *number = 0;
    if (n == 0) return NULL;
    out = malloc(sizeof(XineramaScreenInfo) * (size_t)n);
    if (!out) return NULL;
    for (i = 0; i < n; ++i) out[i] = heads[i];
    if (number) *number = n;
    return out;
}
