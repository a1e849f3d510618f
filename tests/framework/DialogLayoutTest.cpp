// Every text of every template whole and uncovered at our font; the title whole up to half the screen.

#include "framework/ControlWidgets.h"
#include "framework/DialogWindow.h"
#include "framework/ResourceTemplates.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <gtest/gtest.h>

TEST(DialogLayout, EveryTextOfEveryTemplateIsWholeAndUncoveredAndTheTitleWholeUpToHalfTheScreen) {
    for (const klt::res::DialogTemplate& dialogTemplate : klt::AfxGetResources().AllDialogs()) {
        klt::DialogWindow window(dialogTemplate, nullptr);
        const int nTemplateWidth = window.width();
        window.setWindowTitle("Enter the password for other.klt, a file with a long name.");
        const int nHalfScreen = window.screen()->availableGeometry().width() / 2;
        EXPECT_GE(
            window.width(),
            std::min(window.fontMetrics().horizontalAdvance(window.windowTitle()) * 6 / 5, nHalfScreen));
        const auto controls = window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (const QWidget* pControl : controls) {
            const QString text = klt::WidgetText(pControl);
            EXPECT_TRUE(window.rect().contains(pControl->geometry())) << text.toStdString();
            if (text.isEmpty() || pControl->isHidden() ||
                qobject_cast<const QGroupBox*>(pControl) != nullptr) {
                continue;
            }
            // One line wide and tall enough, or wrapped lines tall enough; a button's text with some room.
            const auto* pLabel = qobject_cast<const QLabel*>(pControl);
            const QSize needed = pLabel != nullptr && pLabel->wordWrap()
                                     ? QSize(0, pLabel->heightForWidth(pLabel->width()))
                                 : qobject_cast<const QPushButton*>(pControl) != nullptr
                                     ? pControl->fontMetrics().size(Qt::TextShowMnemonic, text + "  ")
                                     : pControl->sizeHint();
            EXPECT_TRUE(needed.width() <= pControl->width() &&
                        (pLabel == nullptr || needed.height() <= pControl->height()))
                << text.toStdString() << " in " << dialogTemplate.id;
            for (const QWidget* pOther : controls) {
                const bool bBehind = pOther == pControl || pOther->isHidden() ||
                                     qobject_cast<const QGroupBox*>(pOther) != nullptr;
                EXPECT_TRUE(bBehind || !pControl->geometry().intersects(pOther->geometry()))
                    << text.toStdString();
            }
        }
        window.setWindowTitle(QString(300, QLatin1Char('W')));
        EXPECT_LE(window.width(), std::max(nHalfScreen, nTemplateWidth));
    }
}
