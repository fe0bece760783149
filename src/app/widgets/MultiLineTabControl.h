#pragma once

#include <QStackedWidget>
#include <QString>
#include <QWidget>
#include <vector>

namespace orvane_app {

// A tab control whose tabs wrap into as many rows as its width needs, each
// row stretched to the full width; the row of the selected tab moves next to
// the sheet, as multi-line tabs do. Each tab shows one sheet below the rows.
class MultiLineTabControl final : public QWidget {
    Q_OBJECT

  public:
    explicit MultiLineTabControl(QWidget* parent = nullptr);

    int AddTab(QWidget* sheet, const QString& text);
    int Count() const { return static_cast<int>(tabs_.size()); }
    QString TabText(int index) const;
    QWidget* Sheet(int index) const;
    int CurrentIndex() const { return current_; }
    // Emits CurrentChanged when the index changes, unless signals are blocked.
    void SetCurrentIndex(int index);
    // Where tab index is drawn, in the control's own coordinates.
    QRect TabRect(int index) const;
    int RowCount() const { return rowCount_; }

    QSize sizeHint() const override;

  signals:
    void CurrentChanged(int index);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    struct Tab {
        QString text;
        int width = 0;  // the text's natural width, with the padding
        int row = 0;    // row in the wrapping order, 0 = first row
        QRect rect;
    };

    void Relayout();
    int TabWidth(const QString& text) const;
    int RowHeight() const;

    std::vector<Tab> tabs_;
    QStackedWidget* sheets_;
    int current_ = -1;
    int rowCount_ = 0;
};

}  // namespace orvane_app
