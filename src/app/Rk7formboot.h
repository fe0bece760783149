#pragma once

#include <QDialog>
#include <QMenu>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Ui {
class TFormBoot;
}
namespace orvane_app {
class AppContext;
}

// The boot window: the technician chooses the model and the printer port,
// and OK opens the link and hands over to the adjustment window. Closing it
// closes the port and ends the program.
class TFormBoot final : public QDialog {
    Q_OBJECT

  public:
    explicit TFormBoot(orvane_app::AppContext& context);
    ~TFormBoot() override;

    // Set on every OK press and read by the adjustment window and its pages.
    uint8_t ModelCode = 255;  // 1 Orvane K31, 2 Orvane K32, 255 none
    uint16_t PortNumber = 0;

    // The ports in the port list, in list order.
    const std::vector<std::string>& ListedPorts() const { return listedPorts_; }

    // Event handlers.
    void FormShow();
    void ModelNameComboChange();
    void DestinationComboChange();
    void PortSelectOKBtnClick();
    void EndBtnClick();
    void FormMouseUp(Qt::MouseButton button, QPoint position);
    void MenuVersionClick();
    void FormClose();

    // The error boxes of a failed link open.
    static constexpr const char* kErrorBoxA =
        "Communication error occurred.\nPlease confirm the power for printer and I/F cable "
        "connection.";
    static constexpr const char* kErrorBoxB = "Communication error occurred.";

  signals:
    // The boot window has closed: the program ends.
    void ProgramEnds();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void reject() override;

  private:
    void FillPortList();
    bool PortUsable(int index, uint16_t& number);
    void ShowError(const char* text);

    orvane_app::AppContext& context_;
    std::unique_ptr<Ui::TFormBoot> ui_;
    QMenu* popupMenu_;
    std::vector<std::string> listedPorts_;
    bool placed_ = false;
};
