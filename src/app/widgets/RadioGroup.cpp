#include "app/widgets/RadioGroup.h"

namespace orvane_app {

RadioGroup::RadioGroup(QWidget* parent) : QGroupBox(parent) {
    buttons_.setExclusive(true);
    connect(&buttons_, &QButtonGroup::idClicked, this, &RadioGroup::ItemClicked);
}

void RadioGroup::CollectItems() {
    for (QRadioButton* item : items_) {
        buttons_.removeButton(item);
    }
    items_.clear();
    for (QObject* child : children()) {
        if (auto* item = qobject_cast<QRadioButton*>(child)) {
            buttons_.addButton(item, static_cast<int>(items_.size()));
            items_.push_back(item);
        }
    }
    SetItemIndex(-1);
}

QRadioButton* RadioGroup::Item(int index) const {
    return index >= 0 && index < Count() ? items_[static_cast<size_t>(index)] : nullptr;
}

void RadioGroup::SetItemIndex(int index) {
    if (index >= 0 && index < Count()) {
        items_[static_cast<size_t>(index)]->setChecked(true);
        itemIndex_ = index;
        return;
    }
    // An exclusive group never lets the last checked item go by itself.
    buttons_.setExclusive(false);
    for (QRadioButton* item : items_) {
        item->setChecked(false);
    }
    buttons_.setExclusive(true);
    itemIndex_ = -1;
}

void RadioGroup::ItemClicked(int index) {
    if (index == itemIndex_) {
        return;
    }
    itemIndex_ = index;
    emit Click();
}

}  // namespace orvane_app
