#include "framework/ControlWidgets.h"

#include "framework/HotKeyEdit.h"
#include "framework/ListRows.h"
#include "framework/QtText.h"
#include "framework/RowsView.h"
#include "framework/Wnd.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <unordered_map>

namespace klt {
namespace {

const char* const kIdProperty = "klt_id";
const char* const kStyleProperty = "klt_style";
const char* const kMaskProperty = "klt_mask";

// Password fields show '*' for every character, at once.
class PasswordStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* pOption, const QWidget* pWidget,
                  QStyleHintReturn* pReturn) const override {
        if (hint == SH_LineEdit_PasswordCharacter) {
            return '*';
        }
        if (hint == SH_LineEdit_PasswordMaskDelay) {
            return 0;
        }
        return QProxyStyle::styleHint(hint, pOption, pWidget, pReturn);
    }
};

QStyle* SharedPasswordStyle() {
    static QPointer<QStyle> pStyle;
    if (pStyle.isNull()) {
        pStyle = new PasswordStyle;
        pStyle->setParent(qApp);
    }
    return pStyle;
}

// Focus gained and lost by an edit field, for its parent.
class FocusNotifier : public QObject {
public:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override {
        if (pEvent->type() == QEvent::FocusOut || pEvent->type() == QEvent::FocusIn) {
            auto* pWidget = static_cast<QWidget*>(pWatched);
            NotifyParent(pWidget, pEvent->type() == QEvent::FocusOut ? EN_KILLFOCUS : EN_SETFOCUS);
        }
        return false;
    }
};

QObject* SharedFocusNotifier() {
    static QPointer<QObject> pNotifier;
    if (pNotifier.isNull()) {
        pNotifier = new FocusNotifier;
        pNotifier->setParent(qApp);
    }
    return pNotifier;
}

QWidget* CreateEdit(DWORD dwStyle, QWidget* pParent) {
    if ((dwStyle & ES_MULTILINE) != 0) {
        auto* pEdit = new QPlainTextEdit(pParent);
        pEdit->setLineWrapMode((dwStyle & ES_AUTOHSCROLL) != 0 ? QPlainTextEdit::NoWrap
                                                               : QPlainTextEdit::WidgetWidth);
        pEdit->setVerticalScrollBarPolicy((dwStyle & WS_VSCROLL) != 0 ? Qt::ScrollBarAlwaysOn
                                                                      : Qt::ScrollBarAlwaysOff);
        pEdit->setHorizontalScrollBarPolicy((dwStyle & WS_HSCROLL) != 0 ? Qt::ScrollBarAlwaysOn
                                                                        : Qt::ScrollBarAlwaysOff);
        pEdit->setReadOnly((dwStyle & ES_READONLY) != 0);
        pEdit->setTabChangesFocus(true);
        if ((dwStyle & WS_BORDER) == 0) {
            pEdit->setFrameShape(QFrame::NoFrame);
        }
        QObject::connect(pEdit, &QPlainTextEdit::textChanged, pEdit, [pEdit] {
            if (!IsProgrammaticChange(pEdit)) {
                NotifyParent(pEdit, EN_CHANGE);
            }
        });
        return pEdit;
    }
    auto* pEdit = new QLineEdit(pParent);
    pEdit->setFrame((dwStyle & WS_BORDER) != 0);
    pEdit->setReadOnly((dwStyle & ES_READONLY) != 0);
    if ((dwStyle & ES_PASSWORD) != 0) {
        SetPasswordMask(pEdit, '*');
    }
    QObject::connect(pEdit, &QLineEdit::textEdited, pEdit, [pEdit] { NotifyParent(pEdit, EN_CHANGE); });
    return pEdit;
}

QWidget* CreateListBox(DWORD dwStyle, QWidget* pParent) {
    auto* pList = new RowsView(pParent);
    pList->setModel(new ListRows(pList));
    pList->setSelectionMode((dwStyle & LBS_EXTENDEDSEL) != 0 ? QAbstractItemView::ExtendedSelection
                                                             : QAbstractItemView::SingleSelection);
    pList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pList->setVerticalScrollBarPolicy((dwStyle & WS_VSCROLL) != 0 ? Qt::ScrollBarAsNeeded
                                                                  : Qt::ScrollBarAlwaysOff);
    if ((dwStyle & WS_BORDER) == 0) {
        pList->setFrameShape(QFrame::NoFrame);
    }
    QObject::connect(pList, &QListView::doubleClicked, pList, [pList] { NotifyParent(pList, LBN_DBLCLK); });
    QObject::connect(pList->selectionModel(), &QItemSelectionModel::selectionChanged, pList, [pList] {
        if (!IsProgrammaticChange(pList)) {
            NotifyParent(pList, LBN_SELCHANGE);
        }
    });
    return pList;
}

} // namespace

QWidget* CreateControlWidget(res::ControlKind kind, const char* text, DWORD dwStyle, int nID,
                             QWidget* pParent) {
    using res::ControlKind;
    QWidget* pWidget = nullptr;
    bool bFocusable = true;
    switch (kind) {
    case ControlKind::staticText:
    case ControlKind::icon: {
        auto* pLabel = new QLabel(ToQString(text), pParent);
        pLabel->setTextFormat(Qt::PlainText);
        pLabel->setWordWrap(true);
        pLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        pWidget = pLabel;
        bFocusable = false;
        break;
    }
    case ControlKind::edit:
        pWidget = CreateEdit(dwStyle, pParent);
        break;
    case ControlKind::hotKey:
        pWidget = new HotKeyEdit(pParent);
        break;
    case ControlKind::pushButton: {
        auto* pButton = new QPushButton(ToQString(text), pParent);
        pButton->setAutoDefault(false);
        pButton->setDefault((dwStyle & 0x0F) == BS_DEFPUSHBUTTON);
        QObject::connect(pButton, &QPushButton::clicked, pButton,
                         [pButton] { NotifyParent(pButton, BN_CLICKED); });
        pWidget = pButton;
        break;
    }
    case ControlKind::checkBox: {
        auto* pCheck = new QCheckBox(ToQString(text), pParent);
        QObject::connect(pCheck, &QCheckBox::clicked, pCheck, [pCheck] { NotifyParent(pCheck, BN_CLICKED); });
        pWidget = pCheck;
        break;
    }
    case ControlKind::groupBox:
        pWidget = new QGroupBox(ToQString(text), pParent);
        bFocusable = false;
        break;
    case ControlKind::listBox:
        pWidget = CreateListBox(dwStyle, pParent);
        break;
    }
    SetControlId(pWidget, nID);
    SetControlStyle(pWidget, dwStyle);
    if (!bFocusable) {
        pWidget->setFocusPolicy(Qt::NoFocus);
    } else {
        pWidget->setFocusPolicy((dwStyle & WS_TABSTOP) != 0 ? Qt::StrongFocus : Qt::ClickFocus);
    }
    if (kind == ControlKind::edit || kind == ControlKind::hotKey) {
        pWidget->installEventFilter(SharedFocusNotifier());
    }
    pWidget->setEnabled((dwStyle & WS_DISABLED) == 0);
    if ((dwStyle & WS_VISIBLE) == 0) {
        pWidget->setVisible(false);
    }
    return pWidget;
}

void SetControlId(QWidget* pWidget, int nID) {
    pWidget->setProperty(kIdProperty, nID);
}

int ControlId(const QWidget* pWidget) {
    const QVariant id = pWidget->property(kIdProperty);
    return id.isValid() ? id.toInt() : 0;
}

void SetControlStyle(QWidget* pWidget, DWORD dwStyle) {
    pWidget->setProperty(kStyleProperty, static_cast<uint>(dwStyle));
}

DWORD ControlStyle(const QWidget* pWidget) {
    return pWidget->property(kStyleProperty).toUInt();
}

QWidget* FindControl(const QWidget* pParent, int nID) {
    if (pParent == nullptr) {
        return nullptr;
    }
    const auto children = pParent->findChildren<QWidget*>();
    for (QWidget* pChild : children) {
        const QVariant id = pChild->property(kIdProperty);
        if (id.isValid() && id.toInt() == nID) {
            return pChild;
        }
    }
    return nullptr;
}

QString WidgetText(const QWidget* pWidget) {
    if (pWidget->isWindow()) {
        return pWidget->windowTitle();
    }
    if (auto* pEdit = qobject_cast<const QLineEdit*>(pWidget)) {
        return pEdit->text();
    }
    if (auto* pText = qobject_cast<const QPlainTextEdit*>(pWidget)) {
        return pText->toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    }
    if (auto* pButton = qobject_cast<const QAbstractButton*>(pWidget)) {
        return pButton->text();
    }
    if (auto* pLabel = qobject_cast<const QLabel*>(pWidget)) {
        return pLabel->text();
    }
    if (auto* pGroup = qobject_cast<const QGroupBox*>(pWidget)) {
        return pGroup->title();
    }
    return {};
}

void SetWidgetText(QWidget* pWidget, const QString& text) {
    ProgrammaticChange programmatic(pWidget);
    if (pWidget->isWindow()) {
        pWidget->setWindowTitle(text);
    } else if (auto* pEdit = qobject_cast<QLineEdit*>(pWidget)) {
        pEdit->setText(text);
        pEdit->setCursorPosition(0); // a filled field shows its beginning, as a user reads it
    } else if (auto* pText = qobject_cast<QPlainTextEdit*>(pWidget)) {
        QString plain = text;
        pText->setPlainText(plain.replace(QLatin1String("\r\n"), QLatin1String("\n")));
    } else if (auto* pButton = qobject_cast<QAbstractButton*>(pWidget)) {
        pButton->setText(text);
    } else if (auto* pLabel = qobject_cast<QLabel*>(pWidget)) {
        pLabel->setText(text);
    } else if (auto* pGroup = qobject_cast<QGroupBox*>(pWidget)) {
        pGroup->setTitle(text);
    }
}

void NotifyParent(QWidget* pControl, UINT nCode) {
    const int nID = ControlId(pControl);
    for (QWidget* pParent = pControl->parentWidget(); pParent != nullptr; pParent = pParent->parentWidget()) {
        if (CWnd* pWnd = CWnd::FromWidget(pParent)) {
            pWnd->SendMessage(WM_COMMAND, MAKELONG(static_cast<WORD>(nID), static_cast<WORD>(nCode)),
                              reinterpret_cast<LPARAM>(pControl));
            return;
        }
    }
}

namespace {

// The widgets whose contents the program is changing right now, with how deeply. A plain map on the
// one GUI thread: a Qt property per change would cost a large share of filling a long list.
std::unordered_map<const QWidget*, int>& ChangesUnderWay() {
    static std::unordered_map<const QWidget*, int> changes;
    return changes;
}

} // namespace

ProgrammaticChange::ProgrammaticChange(QWidget* pWidget) : m_pWidget(pWidget) {
    ++ChangesUnderWay()[m_pWidget];
}

ProgrammaticChange::~ProgrammaticChange() {
    auto& changes = ChangesUnderWay();
    if (const auto it = changes.find(m_pWidget); it != changes.end() && --it->second == 0) {
        changes.erase(it);
    }
}

bool IsProgrammaticChange(const QWidget* pWidget) {
    return ChangesUnderWay().contains(pWidget);
}

void SetPasswordMask(QLineEdit* pEdit, char chMask) {
    pEdit->setProperty(kMaskProperty, static_cast<int>(static_cast<unsigned char>(chMask)));
    if (chMask != 0) {
        pEdit->setStyle(SharedPasswordStyle());
        pEdit->setEchoMode(QLineEdit::Password);
    } else {
        pEdit->setEchoMode(QLineEdit::Normal);
    }
}

char PasswordMask(const QLineEdit* pEdit) {
    if (pEdit->echoMode() == QLineEdit::Normal) {
        return 0;
    }
    return static_cast<char>(pEdit->property(kMaskProperty).toInt());
}

QSize DialogBaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int width =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return QSize((width / 26 + 1) / 2, metrics.height());
}

QRect DialogUnitsToPixels(const QSize& baseUnits, int x, int y, int cx, int cy) {
    auto mulDiv = [](int value, int numerator, int denominator) {
        return (value * numerator + denominator / 2) / denominator;
    };
    const int left = mulDiv(x, baseUnits.width(), 4);
    const int right = mulDiv(x + cx, baseUnits.width(), 4);
    const int top = mulDiv(y, baseUnits.height(), 8);
    const int bottom = mulDiv(y + cy, baseUnits.height(), 8);
    return QRect(left, top, right - left, bottom - top);
}

} // namespace klt
