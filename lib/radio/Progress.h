#pragma once
// The progress dialog of the radio operations, as the operations see it. It holds no link or
// window of its own, so that a view can show it without knowing the radio link.

#include <functional>
#include <string>
#include <string_view>

namespace km {

// The progress dialog as the operations see it: caption, status text and a gauge driven by a
// step counter against a step total. The desktop program shows it in `TForm_Progress`; closing the
// dialog, by the person or by CloseProgress, runs the close handler, which cancels the operation.
class Progress {
  public:
    virtual ~Progress() = default;

    void ShowProgress(std::string_view caption, std::string_view text);
    void SetProgressText(std::string_view text);
    void SetProgressTotal(int total);
    void SetProgressCounter(int counter);
    void ProgressStep();
    // The operation has gone through to its end: the gauge shows 100 % whatever its total was.
    void ProgressDone();
    void CloseProgress();
    // The person asked to cancel (the Cancel button, or the window closed): the operation stops
    // where it safely can and then closes the dialog; without an operation it closes at once.
    void UserClosed();
    // A cancel has been asked for and the operation has not stopped yet.
    bool Cancelling() const { return cancelling_; }

    bool Visible() const { return visible_; }
    const std::string& Caption() const { return caption_; }
    const std::string& Text() const { return text_; }
    int Counter() const { return counter_; }
    int Total() const { return total_; }
    // counter x 100 / total while the total is neither 0 nor below the counter, otherwise 100;
    // but 0 while nothing has been counted against no total yet (the dialog has just appeared
    // and the link is still being brought up), so that a radio that never answers is not shown
    // as done.
    int Gauge() const;

    void SetCloseHandler(std::function<void()> handler) { closeHandler_ = std::move(handler); }
    // Asked when the person cancels; closes the dialog itself once the operation has stopped.
    void SetCancelHandler(std::function<void()> handler) { cancelHandler_ = std::move(handler); }

  protected:
    // Hooks for a view: the dialog appears, its contents change, it goes away.
    virtual void Shown() {}
    virtual void Changed() {}
    virtual void Hidden() {}

  private:
    bool visible_ = false;
    std::string caption_ = "Undefined";
    std::string text_ = "Undefined";
    int counter_ = 0;
    int total_ = 0;
    bool cancelling_ = false;
    std::function<void()> closeHandler_;
    std::function<void()> cancelHandler_;
};

}  // namespace km
