#include "platform/Platform.h"
#include "support/X11TestDisplay.h"

#include <gtest/gtest.h>
// Xlib after gtest and Qt: its macros (None, Bool) clash with their names.
#include <QApplication>
#include <QWidget>
#include <QWindow>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace klt::test {
namespace {

// Runs with and without a window manager; both must give the same answers.
class X11Windows : public testing::Test {
protected:
    void SetUp() override {
        platform = klt::OpenX11Platform();
        ASSERT_TRUE(platform);
    }

    // A shown Qt window with the title; its id once it is on the screen.
    WindowId Show(QWidget& widget, const QString& title) {
        widget.setWindowTitle(title);
        widget.resize(300, 200);
        widget.show();
        return display.WaitForWindow(title.toStdString(), [] { QCoreApplication::processEvents(); })
                   ? widget.winId()
                   : 0;
    }

    // A window made with plain Xlib: only the old WM_NAME, in Latin-1, and optionally a window type.
    WindowId MakeXlibWindow(const char* latin1Name, const char* type = nullptr) {
        Display* x = display.Handle();
        Window window = XCreateSimpleWindow(x, DefaultRootWindow(x), 10, 10, 100, 100, 0, 0, 0);
        XStoreName(x, window, latin1Name);
        if (type) {
            Atom value = XInternAtom(x, type, False);
            XChangeProperty(x, window, XInternAtom(x, "_NET_WM_WINDOW_TYPE", False), XA_ATOM, 32,
                            PropModeReplace, reinterpret_cast<unsigned char*>(&value), 1);
        }
        XMapWindow(x, window);
        XSync(x, False);
        return window;
    }

    X11TestDisplay display;
    std::unique_ptr<klt::Platform> platform;
};

TEST_F(X11Windows, ActivationMovesTheForegroundAndTheKeyboardFocus) {
    QWidget first, second;
    const WindowId a = Show(first, "first");
    const WindowId b = Show(second, "second");
    ASSERT_NE(a, 0u);
    ASSERT_NE(b, 0u);
    IWindowSystem& windows = platform->Windows();
    for (const WindowId target : {a, b, a}) {
        ASSERT_TRUE(windows.SetForegroundWindow(target));
        EXPECT_EQ(windows.ForegroundWindow(), target);
        // While a text is typed, a target that goes leaves the focus to nobody; then its own rule again.
        const auto revert = [this] {
            Window focus = None;
            int rule = 0;
            XGetInputFocus(display.Handle(), &focus, &rule);
            return rule;
        };
        const int own = revert();
        EXPECT_NE(own, RevertToNone);
        for (const WindowId window : {a, b}) {
            EXPECT_EQ(windows.HoldFocus(window), window == target);
            windows.LetFocusGo();
        }
        EXPECT_EQ(revert(), RevertToNone);
        windows.EndTyping();
        EXPECT_EQ(revert(), own);
        // The keys go where the focus is: the window itself or a window inside it.
        WindowId focus = display.FocusWindow();
        while (focus != target && focus > 1) {
            Window root = None, parent = None, *children = nullptr;
            unsigned count = 0;
            XQueryTree(display.Handle(), focus, &root, &parent, &children, &count);
            if (children) {
                XFree(children);
            }
            focus = parent == root ? 0 : parent;
        }
        EXPECT_EQ(focus, target);
    }
}

TEST_F(X11Windows, TitlesComeFromNetWmNameOrElseWmName) {
    QWidget widget;
    const WindowId qt = Show(widget, QString::fromUtf8("Kasse – Zürich €"));
    ASSERT_NE(qt, 0u);
    EXPECT_EQ(platform->Windows().WindowTitle(qt), "Kasse – Zürich €");
    const WindowId old = MakeXlibWindow("Caf\xE9");
    EXPECT_EQ(platform->Windows().WindowTitle(old), "Caf\xC3\xA9");
    EXPECT_EQ(platform->Windows().WindowTitle(0), "");
}

TEST_F(X11Windows, GoneWindowsAreNoWindowsAndCannotBeActivated) {
    const WindowId window = MakeXlibWindow("short-lived");
    EXPECT_TRUE(platform->Windows().IsWindow(window));
    ASSERT_TRUE(platform->Windows().SetForegroundWindow(window));
    XDestroyWindow(display.Handle(), window);
    XSync(display.Handle(), False);
    EXPECT_FALSE(platform->Windows().IsWindow(window));
    EXPECT_FALSE(platform->Windows().HoldFocus(window));
    platform->Windows().LetFocusGo();
    EXPECT_FALSE(platform->Windows().SetForegroundWindow(window));
    EXPECT_EQ(platform->Windows().WindowTitle(window), "");
    EXPECT_FALSE(platform->Windows().IsWindow(0));
    EXPECT_FALSE(platform->Windows().SetForegroundWindow(0));
}

TEST_F(X11Windows, TheRootAndDesktopAndDockTypedWindowsAreTheDesktopOrAPanel) {
    const WindowId root = DefaultRootWindow(display.Handle());
    EXPECT_TRUE(platform->Windows().IsDesktopOrPanel(root));
    EXPECT_TRUE(
        platform->Windows().IsDesktopOrPanel(MakeXlibWindow("desktop", "_NET_WM_WINDOW_TYPE_DESKTOP")));
    const WindowId panel = MakeXlibWindow("panel", "_NET_WM_WINDOW_TYPE_DOCK");
    EXPECT_TRUE(platform->Windows().IsDesktopOrPanel(panel));
    EXPECT_TRUE(platform->Windows().IsPanel(panel));
    EXPECT_FALSE(platform->Windows().IsPanel(root)); // of those, only a panel
    EXPECT_FALSE(
        platform->Windows().IsDesktopOrPanel(MakeXlibWindow("normal", "_NET_WM_WINDOW_TYPE_NORMAL")));
    EXPECT_FALSE(platform->Windows().IsDesktopOrPanel(MakeXlibWindow("untyped")));
}

// Without a window manager the focus decides: the top-level window around it, or the desktop when
// the focus follows the pointer.
TEST_F(X11Windows, WithoutAManagerTheFocusedTopLevelIsTheForegroundWindow) {
    if (display.HasWindowManager()) {
        GTEST_SKIP() << "the window manager decides here";
    }
    Display* x = display.Handle();
    const WindowId outer = MakeXlibWindow("outer");
    const Window inner = XCreateSimpleWindow(x, outer, 5, 5, 20, 20, 0, 0, 0);
    XMapWindow(x, inner);
    XSetInputFocus(x, inner, RevertToParent, CurrentTime);
    XSync(x, False);
    EXPECT_EQ(platform->Windows().ForegroundWindow(), outer);

    XSetInputFocus(x, PointerRoot, RevertToPointerRoot, CurrentTime);
    XSync(x, False);
    EXPECT_EQ(platform->Windows().ForegroundWindow(), DefaultRootWindow(x));
}

TEST_F(X11Windows, WithAManagerActivationBringsBackAMinimisedWindow) {
    if (!display.HasWindowManager()) {
        GTEST_SKIP() << "only a window manager minimises windows";
    }
    QWidget widget;
    const WindowId window = Show(widget, "minimised");
    ASSERT_NE(window, 0u);
    // Settle the manager's own activation of the new window before minimising it.
    ASSERT_TRUE(platform->Windows().SetForegroundWindow(window));
    widget.showMinimized();
    ASSERT_TRUE(WaitUntil([&] { return platform->Windows().ForegroundWindow() != window; }));

    EXPECT_TRUE(platform->Windows().SetForegroundWindow(window));
    EXPECT_EQ(platform->Windows().ForegroundWindow(), window);
}

} // namespace
} // namespace klt::test
