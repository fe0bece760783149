#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <vector>

#include "AppFixture.h"
#include "app/Rk7formadjust.h"
#include "app/pages/Page.h"

namespace {

using testing_support::AppTest;

class PagesLayout : public AppTest {};

// In the program's font every text fits its control and every control lies
// inside the control that holds it; each page fills the page area.
TEST_F(PagesLayout, NoTextIsClippedAndNoControlSticksOut) {
    Start();
    Adjust().Build();
    const QList<TPage*> pages = Adjust().findChildren<TPage*>();
    EXPECT_EQ(pages.size(), 18);
    const QRect area = Adjust().findChild<QWidget*>(QStringLiteral("CanvasPnl"))->geometry();
    for (TPage* page : pages) {
        const std::string name = page->objectName().toStdString();
        EXPECT_EQ(page->geometry(), area) << name;
        EXPECT_FALSE(page->findChildren<QWidget*>().isEmpty()) << name;
        for (QWidget* child : page->findChildren<QWidget*>()) {
            const QWidget* holder = child->parentWidget();
            EXPECT_TRUE(holder->rect().contains(child->geometry()))
                << name << " " << child->objectName().toStdString();
        }
        for (QLabel* label : page->findChildren<QLabel*>()) {
            const std::string what = label->objectName().toStdString();
            if (label->wordWrap()) {
                EXPECT_LE(label->heightForWidth(label->width()), label->height()) << what;
            } else {
                EXPECT_LE(label->sizeHint().width(), label->width()) << what;
                EXPECT_LE(label->sizeHint().height(), label->height()) << what;
            }
        }
        for (QPushButton* button : page->findChildren<QPushButton*>()) {
            EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()) + 16, button->width())
                << button->objectName().toStdString();
        }
    }
}

// The program's own way, through the boot window's OK: the pages get their
// controls as the window first shows, and a later show builds nothing more.
TEST_F(PagesLayout, ThePagesGetTheirControlsOnceAsTheWindowFirstShows) {
    auto controls = [this] {
        std::vector<qsizetype> counts;
        for (TPage* page : Adjust().findChildren<TPage*>()) {
            counts.push_back(page->findChildren<QWidget*>().size());
        }
        return counts;
    };
    OpenAdjustmentWindow();
    const std::vector<qsizetype> shown = controls();
    EXPECT_EQ(shown.size(), 18u);
    EXPECT_EQ(std::count(shown.begin(), shown.end(), 0), 0);
    Adjust().hide();
    Adjust().show();
    EXPECT_EQ(controls(), shown);
}

}  // namespace
