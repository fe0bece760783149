#pragma once

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <vector>

namespace orvane_app {

// A captioned group of radio items of which at most one is selected
// (ItemIndex -1: none). Click is emitted when the user selects another item;
// selecting the selected item again, or setting the index in code, emits
// nothing. The items are the group's radio buttons in the order of its form.
class RadioGroup final : public QGroupBox {
    Q_OBJECT

  public:
    explicit RadioGroup(QWidget* parent = nullptr);

    // Takes the radio buttons the form put into the group as its items.
    void CollectItems();

    int Count() const { return static_cast<int>(items_.size()); }
    QRadioButton* Item(int index) const;
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);

  signals:
    void Click();

  private:
    void ItemClicked(int index);

    QButtonGroup buttons_;
    std::vector<QRadioButton*> items_;
    int itemIndex_ = -1;
};

}  // namespace orvane_app
