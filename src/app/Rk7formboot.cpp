#include "app/Rk7formboot.h"

#include <QCloseEvent>
#include <QMouseEvent>

#include "app/AppContext.h"
#include "app/Cursor.h"
#include "app/PortTable.h"
#include "app/Rk7formabout.h"
#include "app/Rk7formadjust.h"
#include "app/widgets/WindowPlacement.h"
#include "link/OpenLink.h"
#include "link/ResultCodes.h"
#include "ui_Rk7formboot.h"

using orvane_app::PortNumberStatus;

TFormBoot::TFormBoot(orvane_app::AppContext& context)
    : context_(context), ui_(std::make_unique<Ui::TFormBoot>()), popupMenu_(new QMenu(this)) {
    ui_->setupUi(this);
    orvane_app::SetWindowBorder(this, orvane_app::WindowBorder::SingleMinimise, width(), height());

    popupMenu_->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* version = popupMenu_->addAction(QStringLiteral("Version"));
    version->setObjectName(QStringLiteral("MenuVersion"));
    connect(version, &QAction::triggered, this, &TFormBoot::MenuVersionClick);

    // Only the technician's choices count as changes, not the program's own.
    connect(ui_->ModelNameCombo, &QComboBox::activated, this, &TFormBoot::ModelNameComboChange);
    connect(ui_->DestinationCombo, &QComboBox::activated, this, &TFormBoot::DestinationComboChange);
    connect(ui_->PortSelectOKBtn, &QPushButton::clicked, this, &TFormBoot::PortSelectOKBtnClick);
    connect(ui_->EndBtn, &QPushButton::clicked, this, &TFormBoot::EndBtnClick);
}

TFormBoot::~TFormBoot() = default;

void TFormBoot::showEvent(QShowEvent* event) {
    if (!placed_) {
        orvane_app::CentreOnScreen(this);
        placed_ = true;
    }
    // Coming back from the task bar is no show of the window: the choices
    // and the port list stay as they are.
    if (!event->spontaneous()) {
        FormShow();
    }
    QDialog::showEvent(event);
}

void TFormBoot::FormShow() {
    ui_->ModelNameCombo->setCurrentIndex(-1);
    ui_->InterfaceCombo->setCurrentIndex(-1);
    ui_->DestinationCombo->setCurrentIndex(-1);
    ui_->PortSelectOKBtn->setEnabled(true);
    ui_->EndBtn->setEnabled(true);
    FillPortList();
}

void TFormBoot::FillPortList() {
    std::vector<std::string> systemPorts;
    if (!context_.Ports().EnumeratePorts(systemPorts)) {
        // The list keeps what it held; on the first show it stays empty.
        return;
    }
    listedPorts_ = orvane_app::PrinterPorts(systemPorts);
    ui_->InterfaceCombo->clear();
    for (const auto& name : listedPorts_) {
        ui_->InterfaceCombo->addItem(QString::fromStdString(name));
    }
    ui_->InterfaceCombo->setCurrentIndex(-1);
}

void TFormBoot::ModelNameComboChange() {
    ui_->DestinationCombo->setCurrentIndex(ui_->ModelNameCombo->currentIndex());
}

void TFormBoot::DestinationComboChange() {}

void TFormBoot::ShowError(const char* text) {
    orvane::MessageRequest request;
    request.text = text;
    request.caption = "Error!";
    request.icon = orvane::MessageIcon::Error;
    request.owner = orvane::MessageOwner::BootWindow;
    context_.MessageBox().Show(request);
}

bool TFormBoot::PortUsable(int index, uint16_t& number) {
    const orvane_app::PortNumberResult derived = orvane_app::DerivePortNumber(listedPorts_, index);
    if (derived.status == PortNumberStatus::Ok) {
        number = derived.number;
        return true;
    }
    // A port without a number, or past the table of port numbers, is refused
    // before anything reaches the libraries.
    const std::string name = listedPorts_[static_cast<size_t>(index)];
    const std::string text =
        derived.status == PortNumberStatus::BeyondTable
            ? "The port \"" + name + "\" cannot be used: only the first " +
                  std::to_string(orvane_app::kPortTableSize) +
                  " printer ports can be opened.\nPlease choose another port."
            : "The port \"" + name + "\" has no port number.\nPlease choose another port.";
    ShowError(text.c_str());
    return false;
}

void TFormBoot::PortSelectOKBtnClick() {
    orvane_app::ShowHourglassCursor();
    const int model = ui_->ModelNameCombo->currentIndex();
    const int port = ui_->InterfaceCombo->currentIndex();
    uint16_t number = 0;
    if (model < 0 || port < 0 || port >= static_cast<int>(listedPorts_.size()) ||
        !PortUsable(port, number)) {
        orvane_app::ShowNormalCursor();
        return;
    }

    TPDLLFunction& link = context_.GetModules().link;
    ModelCode = model == 0 ? 1 : model == 1 ? 2 : 255;
    if (ModelCode != 255) {
        link.SetD4CommandRCode(kLinkCommandCodeA, kLinkCommandCodeB);
    }
    PortNumber = number;

    // The service log names the printer of every write from here on.
    link.SetLogSubject(listedPorts_[static_cast<size_t>(port)],
                       ui_->ModelNameCombo->currentText().toStdString());

    LinkOpenFailure failure = LinkOpenFailure::None;
    OpenPrinterLink(link, PortNumber, failure);
    if (failure != LinkOpenFailure::None) {
        ShowError(failure == LinkOpenFailure::Negotiation ? kErrorBoxB : kErrorBoxA);
        orvane_app::ShowNormalCursor();
        return;
    }
    hide();
    context_.Adjust().show();
    orvane_app::ShowNormalCursor();
}

void TFormBoot::EndBtnClick() {
    close();
}

void TFormBoot::reject() {
    // Esc is the Quit button.
    if (ui_->EndBtn->isEnabled()) {
        ui_->EndBtn->click();
    }
}

void TFormBoot::mouseReleaseEvent(QMouseEvent* event) {
    FormMouseUp(event->button(), event->position().toPoint());
    QDialog::mouseReleaseEvent(event);
}

void TFormBoot::FormMouseUp(Qt::MouseButton button, QPoint position) {
    if (button != Qt::RightButton) {
        return;
    }
    const QRect frame = frameGeometry();
    popupMenu_->popup(QPoint(frame.left() + position.x() + 3, frame.top() + position.y() + 20));
}

void TFormBoot::MenuVersionClick() {
    context_.About().exec();
}

void TFormBoot::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
    emit ProgramEnds();
}

void TFormBoot::FormClose() {
    context_.GetModules().link.PortCloseByPway();
}
