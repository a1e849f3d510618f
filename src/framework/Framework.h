#pragma once
// Everything the program's code uses of the framework.
//
// A dialog: derive from CDialog with the template id, bind controls in DoDataExchange, map control
// notifications in the constructor, override OnInitDialog / OnOK / OnCancel where needed.
//     CMyDlg::CMyDlg(CWnd* pParent) : CDialog(IDD_PROPERTIES, pParent) {
//         MapNotify(BN_CLICKED, IDC_REVEAL, &CMyDlg::OnReveal);
//         MapNotify(EN_KILLFOCUS, IDC_PASSWORD, &CMyDlg::OnKillFocusPassword);
//     }
//     void CMyDlg::DoDataExchange(CDataExchange* pDX) {
//         DDX_Control(pDX, IDC_PASSWORD, m_editPassword);
//         DDX_Text(pDX, IDC_SYSTEM, m_strSystem);
//     }
//     if (dlg.DoModal() == IDOK) ...
//
// A command with an update rule (view, document, frame or application, in the constructor):
//     MapCommand(ID_EDIT_DELETE, &CMyView::OnEditDelete);
//     MapUpdate(ID_EDIT_DELETE, &CMyView::OnUpdateNeedEntry); // pCmdUI->Enable(...)
// A window message (WM_USER, WM_HOTKEY): MapMessage(WM_USER, &CMainFrame::OnTrayNotify), or
// override WindowProc. Send commands as the platform does: pFrame->SendMessage(WM_COMMAND, ID_...).
//
// Tests: klt::testing::ScriptedUser (tests/support/scripted) stands in for the user at every modal
// interaction; link klt_gui_test_main for a headless main with fresh XDG folders.

#include "framework/AfxDefs.h"
#include "framework/AfxRes.h"
#include "framework/CmdTarget.h"
#include "framework/CommandLineInfo.h"
#include "framework/ControlBars.h"
#include "framework/Controls.h"
#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/FileDialog.h"
#include "framework/ForeignWnd.h"
#include "framework/FrameWnd.h"
#include "framework/ListBox.h"
#include "framework/Menu.h"
#include "framework/MessageBox.h"
#include "framework/ModalSeam.h"
#include "framework/PrintDialog.h"
#include "framework/QtText.h"
#include "framework/RecentFileList.h"
#include "framework/View.h"
#include "framework/VirtualKeys.h"
#include "framework/WaitCursor.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"
