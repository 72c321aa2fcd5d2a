// setupDisplay: from the finished settings to a running X client, in a fixed
// order (display, font, layout, sprite sheets, pixmaps, windows and their
// properties, GC, face, pixels). Nothing built here is freed.
#include "display/setup.h"

#include "display/colors.h"
#include "display/face.h"
#include "render/layout.h"
#include "settings/settings.h"

#include <X11/Xutil.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

ClockDisplay clockDisplay;

static void openDisplay(const char *displayName)
{
    clockDisplay.display = XOpenDisplay(*displayName ? displayName : nullptr);
    if (!clockDisplay.display) {
        std::printf("tavock : grrrr... can't open display %s. Sorry ...\n",
                    XDisplayName(displayName));
        std::exit(1);
    }
    clockDisplay.screenNumber = DefaultScreen(clockDisplay.display);
    clockDisplay.rootWindow = RootWindow(clockDisplay.display, clockDisplay.screenNumber);
}

// Loads the label font; on failure the label is off for the whole run.
static void loadLabelFont(int *labelHeight, int *labelWidth)
{
    *labelHeight = *labelWidth = 0;
    clockDisplay.labelFont = nullptr;
    if (!settings.labelOn)
        return;
    XFontStruct *font = XLoadQueryFont(clockDisplay.display, settings.Font);
    if (!font) {
        reportLabelFontFailure(settings.Font);
        settings.labelOn = 0;
        return;
    }
    clockDisplay.labelFont = font;
    clockDisplay.labelFontId = font->fid;
    *labelWidth = XTextWidth(font, settings.Label, static_cast<int>(std::strlen(settings.Label)));
    *labelHeight = font->max_bounds.ascent + font->max_bounds.descent;
}

// The four sheets in order; a failing one ends the clock before the next.
static void createSpriteSheets()
{
    for (int kind = 0; kind < SPRITE_SHEET_COUNT; kind++) {
        int status = createSpriteSheet(clockDisplay.display, clockDisplay.rootWindow,
                                       clockDisplay.sheets[kind], kind, settings.background, sheetInk(kind));
        if (status != XpmSuccess) {
            reportSheetFailure(status, kind);
            XCloseDisplay(clockDisplay.display);
            std::exit(0);
        }
    }
}

static XSizeHints sizeHints(const char *geometry, int parsedMask)
{
    XSizeHints hints = {};
    hints.flags = USPosition | USSize | PMinSize | PMaxSize;
    // A scaled clock's windows are the scaled size; the position stays in
    // screen pixels, as the geometry gave it.
    int width = static_cast<int>(clockDisplay.scaledWidth);
    int height = static_cast<int>(clockDisplay.scaledHeight);
    hints.width = hints.min_width = hints.max_width = width;
    hints.height = hints.min_height = hints.max_height = height;
    int x, y, gravity;
    // Minimum and maximum pin the size; XWMGeometry contributes the position.
    XWMGeometry(clockDisplay.display, clockDisplay.screenNumber, geometry, nullptr, 0, &hints,
                &x, &y, &width, &height, &gravity);
    hints.x = x;
    hints.y = y;
    hints.width = width;
    hints.height = height;
    bool right = parsedMask & XNegative, bottom = parsedMask & YNegative;
    hints.win_gravity = bottom ? (right ? SouthEastGravity : SouthWestGravity)
                               : (right ? NorthEastGravity : NorthWestGravity);
    hints.flags |= PWinGravity;
    return hints;
}

static void createWindows(const XSizeHints &hints)
{
    Display *d = clockDisplay.display;
    unsigned int w = settings.windowWidth, h = settings.windowHeight;
    clockDisplay.facePixmap = XCreatePixmap(d, clockDisplay.rootWindow, w, h, clockDisplay.depth);
    clockDisplay.framePixmap = XCreatePixmap(d, clockDisplay.rootWindow, w, h, clockDisplay.depth);
    Window *windows[2] = {&clockDisplay.mainWindow, &clockDisplay.iconWindow};
    for (Window *window : windows)
        *window = XCreateSimpleWindow(d, clockDisplay.rootWindow, hints.x, hints.y,
                                      static_cast<unsigned int>(hints.width),
                                      static_cast<unsigned int>(hints.height), 0,
                                      clockDisplay.foregroundPixel, clockDisplay.backgroundPixel);
    XSizeHints copy = hints;
    XSetWMNormalHints(d, clockDisplay.mainWindow, &copy);
    XSetWMNormalHints(d, clockDisplay.iconWindow, &copy);
    XClearWindow(d, clockDisplay.mainWindow);
    XClearWindow(d, clockDisplay.iconWindow);
}

static void setNames(const char *title)
{
    Display *d = clockDisplay.display;
    XTextProperty name;
    char *list[1] = {const_cast<char *>(title)};
    if (XStringListToTextProperty(list, 1, &name)) {
        XSetWMName(d, clockDisplay.mainWindow, &name);
        XSetWMName(d, clockDisplay.iconWindow, &name);
        XFree(name.value);
    }
    static char resName[] = "tavock", resClass[] = "TAVOCK";
    XClassHint classHint = {resName, resClass};
    XSetClassHint(d, clockDisplay.mainWindow, &classHint);
    XStoreName(d, clockDisplay.mainWindow, title);
    XSetIconName(d, clockDisplay.mainWindow, title);
}

static void createGC()
{
    XGCValues &v = clockDisplay.gcValues;
    v.foreground = clockDisplay.foregroundPixel;
    v.background = clockDisplay.backgroundPixel;
    v.line_width = 1;
    v.line_style = LineSolid;
    v.fill_style = FillSolid;
    unsigned long mask = GCForeground | GCBackground | GCLineWidth | GCLineStyle | GCFillStyle;
    if (settings.labelOn) {
        v.font = clockDisplay.labelFontId;
        mask |= GCFont;
    }
    clockDisplay.gc = XCreateGC(clockDisplay.display, clockDisplay.mainWindow, mask, &v);
}

static void setWMHints(int withdrawn, int iconic, const XSizeHints &sizeHints)
{
    XWMHints hints = {};
    hints.flags = StateHint | IconWindowHint;
    hints.icon_window = clockDisplay.iconWindow;
    hints.initial_state = withdrawn ? WithdrawnState : iconic ? IconicState : NormalState;
    if (withdrawn) {
        hints.flags |= WindowGroupHint;
        hints.window_group = clockDisplay.mainWindow;
    }
    if (withdrawn || iconic) {
        hints.flags |= IconPositionHint;
        hints.icon_x = sizeHints.x;
        hints.icon_y = sizeHints.y;
    }
    XSetWMHints(clockDisplay.display, clockDisplay.mainWindow, &hints);
}

void setupDisplay(int argc, char **argv)
{
    const char *geometry = settings.geometry;
    openDisplay(settings.displayName);
    Display *d = clockDisplay.display;
    Window root = clockDisplay.rootWindow;
    clockDisplay.backgroundPixel = colorPixel(settings.background, d, root);
    clockDisplay.foregroundPixel = colorPixel(settings.foreground, d, root);
    clockDisplay.depth = static_cast<unsigned int>(DefaultDepth(d, clockDisplay.screenNumber));

    int labelHeight, labelWidth;
    loadLabelFont(&labelHeight, &labelWidth);

    int parsedMask = windowSizeFromGeometry(geometry, &settings.windowWidth,
                                            &settings.windowHeight);
    settleScaling();
    clockLayout = dialLayout(static_cast<int>(settings.windowWidth),
                             static_cast<int>(settings.windowHeight), settings.drawDayDate,
                             settings.labelOn, settings.LabelTop, labelHeight, labelWidth);

    createSpriteSheets();
    XSizeHints hints = sizeHints(geometry, parsedMask);
    createWindows(hints);
    setNames(settings.title);

    long mainMask = ExposureMask | (settings.execGiven ? ButtonPressMask : 0);
    long iconMask = ExposureMask | (settings.withdrawn ? ButtonPressMask : 0);
    XSelectInput(d, clockDisplay.mainWindow, mainMask);
    XSelectInput(d, clockDisplay.iconWindow, iconMask);

    createGC();
    fillBackground();
    if (!settings.noborder)
        drawBevel(settings.pushedIn);
    drawTickMarks();

    XSetCommand(d, clockDisplay.mainWindow, argv, argc);
    clockDisplay.wmDeleteWindow = XInternAtom(d, "WM_DELETE_WINDOW", False);
    clockDisplay.wmProtocols = XInternAtom(d, "WM_PROTOCOLS", False);
    XSetWMProtocols(d, clockDisplay.mainWindow, &clockDisplay.wmDeleteWindow, 1);
    XSetWMProtocols(d, clockDisplay.iconWindow, &clockDisplay.wmDeleteWindow, 1);
    setWMHints(settings.withdrawn, settings.iconic, hints);
    XMapWindow(d, clockDisplay.mainWindow);

    handPixels(serverPixels, clockDisplay.layerPixels);
    clockDisplay.labelPixel = colorPixel(settings.LabelColor, d, root);
    setupScaledDrawing();
}
