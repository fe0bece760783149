#include "PageFixture.h"

#include <QTest>
#include <QToolButton>

#include "app/widgets/UpDown.h"

namespace testing_support {

void PageTest::Type(const char* editName, const QString& text) {
    auto* edit = Find<QLineEdit>(Adjust(), editName);
    ASSERT_NE(edit, nullptr);
    edit->clear();
    edit->setFocus();
    QTest::keyClicks(edit, text);
}

void PageTest::Step(const char* upDownName, bool up) {
    auto* upDown = Find<orvane_app::UpDown>(Adjust(), upDownName);
    ASSERT_NE(upDown, nullptr);
    QTest::mouseClick(up ? upDown->UpArrow() : upDown->DownArrow(), Qt::LeftButton);
}

}  // namespace testing_support
