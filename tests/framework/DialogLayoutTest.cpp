// Dialogs as the user reads them at our font: every text of every template whole, the title whole
// as far as half the screen.

#include "ControlWidgets.h"
#include "DialogWindow.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <gtest/gtest.h>

namespace {

bool IsTextControl(const QWidget* pControl) {
    const auto* pLabel = qobject_cast<const QLabel*>(pControl);
    return (pLabel != nullptr && !pLabel->text().isEmpty()) || qobject_cast<const QAbstractButton*>(pControl);
}

// One line wide and tall enough, or wrapped lines tall enough; a button's text with a little room.
bool ShowsWholeText(const QWidget* pControl) {
    if (const auto* pLabel = qobject_cast<const QLabel*>(pControl)) {
        return pLabel->wordWrap() ? pLabel->heightForWidth(pLabel->width()) <= pLabel->height()
                                  : pLabel->sizeHint().width() <= pLabel->width() &&
                                        pLabel->sizeHint().height() <= pLabel->height();
    }
    if (const auto* pButton = qobject_cast<const QPushButton*>(pControl)) {
        const QFontMetrics& metrics = pButton->fontMetrics();
        return metrics.size(Qt::TextShowMnemonic, pButton->text()).width() + metrics.averageCharWidth() <=
               pButton->width();
    }
    return pControl->sizeHint().width() <= pControl->width();
}

} // namespace

TEST(DialogLayout, EveryTextOfEveryTemplateIsWholeInsideTheDialogAndUncovered) {
    for (const klt::res::DialogTemplate& dialogTemplate : klt::res::AllDialogs()) {
        klt::DialogWindow window(dialogTemplate, nullptr);
        const auto controls = window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (const QWidget* pControl : controls) {
            if (!IsTextControl(pControl) || pControl->isHidden()) {
                continue;
            }
            const std::string what = "\"" + klt::WidgetText(pControl).toStdString() + "\" in dialog " +
                                     std::to_string(dialogTemplate.id);
            EXPECT_TRUE(ShowsWholeText(pControl)) << what;
            EXPECT_TRUE(window.rect().contains(pControl->geometry())) << what;
            for (const QWidget* pOther : controls) {
                if (pOther != pControl && !pOther->isHidden() &&
                    qobject_cast<const QGroupBox*>(pOther) == nullptr &&
                    qobject_cast<const QGroupBox*>(pControl) == nullptr) {
                    EXPECT_FALSE(pControl->geometry().intersects(pOther->geometry()))
                        << what << " meets \"" << klt::WidgetText(pOther).toStdString() << "\"";
                }
            }
        }
    }
}

TEST(DialogLayout, TitleIsWholeUpToHalfTheScreenWithTheControlsInside) {
    klt::DialogWindow window(*klt::res::FindDialog(IDD_PASSWORD), nullptr);
    const int nHalfScreen = window.screen()->availableGeometry().width() / 2;
    QFont titleFont = window.font();
    titleFont.setBold(true);
    for (const QString& title :
         {QStringLiteral("Enter the password for other.klt."), QString(300, QLatin1Char('W'))}) {
        window.setWindowTitle(title);
        EXPECT_GE(window.width(), std::min(QFontMetrics(titleFont).horizontalAdvance(title), nHalfScreen));
        EXPECT_LE(window.width(), nHalfScreen);
        for (const QWidget* pControl : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            EXPECT_TRUE(window.rect().contains(pControl->geometry()))
                << klt::WidgetText(pControl).toStdString();
        }
    }
}
