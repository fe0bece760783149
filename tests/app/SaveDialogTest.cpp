#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QTimer>

#include "app/QtSaveDialog.h"
#include "app/pages/EepromReadoutPage.h"
#include "support/TempFolder.h"

namespace {

using orvane_app::QtSaveDialog;

TEST(QtSaveDialog, FilterTextsBecomeNameFilters) {
    EXPECT_EQ(QtSaveDialog::NameFilters("EEP files (*.eep)|*.eep"),
              QStringList{"EEP files (*.eep)"});
    EXPECT_EQ(QtSaveDialog::NameFilters("Dumps|*.eep;*.bin|All files (*)|*"),
              (QStringList{"Dumps (*.eep *.bin)", "All files (*)"}));
    EXPECT_EQ(QtSaveDialog::NameFilters(""), QStringList{});
    // A description without its pattern counts for nothing.
    EXPECT_EQ(QtSaveDialog::NameFilters("EEP files"), QStringList{});
}

class QtSaveDialogRun : public ::testing::Test {
  protected:
    // Runs fill on the dialog once it is up, then shows it.
    std::optional<std::string> Run(const std::function<void(QFileDialog&)>& fill) {
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            shownName = dialog->objectName();
            fill(*dialog);
        });
        QtSaveDialog saveDialog(&owner, QStringLiteral("EepSaveDialog"));
        return saveDialog.Execute(TEepromReadoutPage::kSaveOptions);
    }
    QWidget owner;
    testing_support::TempFolder folder;
    QString shownName;
};

TEST_F(QtSaveDialogRun, TheDialogHonoursTheOptionsAndAddsTheExtension) {
    const std::optional<std::string> path = Run([this](QFileDialog& dialog) {
        EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("eep"));
        EXPECT_EQ(dialog.nameFilters(), QStringList{"EEP files (*.eep)"});
        EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_TRUE(dialog.isSizeGripEnabled());
        dialog.setDirectory(QString::fromStdString(folder.Path()));
        dialog.selectFile(QStringLiteral("dump"));
        QMetaObject::invokeMethod(&dialog, "accept");
    });
    EXPECT_EQ(shownName, QStringLiteral("EepSaveDialog"));
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(*path, folder / "dump.eep");
}

TEST_F(QtSaveDialogRun, CancellingChoosesNothing) {
    EXPECT_EQ(Run([](QFileDialog& dialog) { dialog.reject(); }), std::nullopt);
}

}  // namespace
