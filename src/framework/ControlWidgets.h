#pragma once
// Inside the framework: the Qt widgets that stand for controls, their ids and styles, their texts,
// and the notifications they send to the parent window.

#include "framework/AfxDefs.h"
#include "framework/ResourceTemplates.h"

#include <QRect>
#include <QString>

class QFont;
class QLineEdit;
class QWidget;

namespace klt {

// Makes the widget for a control of the given kind and style as a child of pParent (not yet placed).
QWidget* CreateControlWidget(res::ControlKind kind, const char* text, DWORD dwStyle, int nID,
                             QWidget* pParent);

void SetControlId(QWidget* pWidget, int nID);
int ControlId(const QWidget* pWidget);
void SetControlStyle(QWidget* pWidget, DWORD dwStyle);
DWORD ControlStyle(const QWidget* pWidget);
// The direct or deeper child with control id nID, or null.
QWidget* FindControl(const QWidget* pParent, int nID);

// Texts as the widget shows them; writing one never notifies anybody.
QString WidgetText(const QWidget* pWidget);
void SetWidgetText(QWidget* pWidget, const QString& text);

// Sends the notification nCode of control pControl to the nearest window object above it.
void NotifyParent(QWidget* pControl, UINT nCode);

// While alive, changes to the widget are the program's, not the user's.
class ProgrammaticChange {
public:
    explicit ProgrammaticChange(QWidget* pWidget);
    ~ProgrammaticChange();
    ProgrammaticChange(const ProgrammaticChange&) = delete;
    ProgrammaticChange& operator=(const ProgrammaticChange&) = delete;

private:
    QWidget* m_pWidget;
};
bool IsProgrammaticChange(const QWidget* pWidget);

// A password field's mask character ('*'), or 0 for plain text.
void SetPasswordMask(QLineEdit* pEdit, char chMask);
char PasswordMask(const QLineEdit* pEdit);

// The dialog font's base units and a rectangle in dialog units converted through them.
QSize DialogBaseUnits(const QFont& font);
QRect DialogUnitsToPixels(const QSize& baseUnits, int x, int y, int cx, int cy);

} // namespace klt
