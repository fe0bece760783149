#pragma once

#include <QAbstractButton>
#include <QFrame>
#include <QRect>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace orvane_app {
class AppContext;
class ReadPageControls;
struct ReadValue;
}  // namespace orvane_app
class TFormAdjust;

// One page of the adjustment window: a panel in the page area with its own
// form and handlers. A page reaches the module objects, the boot window's
// model and port and the how-to windows through the application context, and
// reports through the adjustment window's ShowStatus and ReportResult.
//
// A page is created, named and placed as the window builds its own controls;
// it then builds its controls (Build), the pages in their order.
class TPage : public QFrame {
    Q_OBJECT

  public:
    TPage(orvane_app::AppContext& context, TFormAdjust& form, QWidget* parent,
          const QString& panelName);
    ~TPage() override;

    // Builds the page's controls and ties them to their handlers, once; the
    // page keeps its place in the page area.
    void Build();

    // Runs after the page's navigation item was chosen and the page shown
    // (focus to an edit, emptying an edit, the page's Read action).
    virtual void Opened();

  protected:
    virtual void BuildControls() = 0;
    orvane_app::AppContext& Context() { return context_; }
    // Ties a button of the page to its handler, which runs as one operation
    // of the adjustment window (a close waits for it to return).
    template <typename Page>
    void OnClick(QAbstractButton* button, void (Page::*handler)()) {
        connect(button, &QAbstractButton::clicked, this, [this, handler] {
            RunOperation([this, handler] { (static_cast<Page*>(this)->*handler)(); });
        });
    }
    void RunOperation(const std::function<void()>& operation);
    // A quick feed between prints: the line feeds go out at once, without a
    // wait for the printer and without the lock; only a failure is reported.
    void FeedPaper(int lines);
    TFormAdjust& Form() { return form_; }

    // A page with a check pattern: adds Read page and Open picture... at
    // their places in holder (see ReadPageControls), which run as operations
    // of the window. kind: the reader's name of the page kind read now;
    // fill: puts the values read surely into the page's controls.
    void AddReadPage(const QString& prefix, QWidget& holder, const QRect& read, const QRect& open,
                     std::function<std::string()> kind,
                     std::function<void(const std::vector<orvane_app::ReadValue>&)> fill);
    // After the page's Input wrote values (by quantity name).
    void ReadPageInputWritten(const std::vector<std::pair<std::string, int>>& values);

  private:
    orvane_app::AppContext& context_;
    TFormAdjust& form_;
    bool built_ = false;
    std::unique_ptr<orvane_app::ReadPageControls> reading_;
};
