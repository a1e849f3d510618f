# The Qt Widgets headers that nearly every GUI source reads (framework/Wnd.h brings QWidget to all of
# them) are parsed once per build instead of once per source.
#
#   klt_precompile_qt(<target>)
#
# The first target precompiles the headers, the later ones reuse them. gcc takes them only where the
# flags and the macros they were made with are the same: the GUI libraries and the gui tests share
# klt_options and Qt's position-independent code. A macro of the first target's own that differs in
# another (QtTest's QT_TESTCASE_BUILDDIR names each test's folder) is refused with a warning, which
# -Werror makes an error: the first target is therefore the framework, which has none.
#
# The lint keeps to the sources' own includes: scripts/lint drops the precompiled header from the
# compile commands it hands to clang-tidy, which could not read gcc's.
option(KLT_PCH "Precompile the Qt headers of the GUI code" ON)

set(KLT_QT_PCH_HEADERS
    <QAction>
    <QApplication>
    <QDialog>
    <QLineEdit>
    <QListView>
    <QMainWindow>
    <QMenu>
    <QPointer>
    <QPushButton>
    <QSettings>
    <QString>
    <QTimer>
    <QWidget>
)

# ccache reuses what a precompiled header built only when told that it cannot see the header's macros
# and time stamps.
if(KLT_PCH AND CMAKE_CXX_COMPILER_LAUNCHER MATCHES "ccache")
    set(CMAKE_CXX_COMPILER_LAUNCHER
        ${CMAKE_COMMAND} -E env CCACHE_SLOPPINESS=pch_defines,time_macros ${CMAKE_CXX_COMPILER_LAUNCHER})
endif()

function(klt_precompile_qt target)
    if(NOT KLT_PCH)
        return()
    endif()
    get_property(first GLOBAL PROPERTY KLT_QT_PCH_TARGET)
    if(first)
        target_precompile_headers(${target} REUSE_FROM ${first})
    else()
        target_precompile_headers(${target} PRIVATE ${KLT_QT_PCH_HEADERS})
        set_property(GLOBAL PROPERTY KLT_QT_PCH_TARGET ${target})
    endif()
endfunction()
