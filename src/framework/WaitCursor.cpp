#include "framework/WaitCursor.h"

#include "framework/WinApp.h"

CWaitCursor::CWaitCursor() {
    if (CWinApp* pApp = AfxGetApp()) {
        pApp->DoWaitCursor(1);
    }
}

CWaitCursor::~CWaitCursor() {
    if (CWinApp* pApp = AfxGetApp()) {
        pApp->DoWaitCursor(-1);
    }
}
