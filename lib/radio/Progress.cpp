#include "radio/Progress.h"

#include <algorithm>

namespace km {

namespace {
constexpr const char* kUndefined = "Undefined";
}

void Progress::ShowProgress(std::string_view caption, std::string_view text) {
    cancelling_ = false;
    caption_ = caption;
    text_ = text;
    counter_ = 0;
    const bool wasVisible = visible_;
    visible_ = true;
    if (wasVisible) {
        Changed();
    } else {
        Shown();
    }
}

void Progress::SetProgressText(std::string_view text) {
    text_ = text;
    Changed();
}

void Progress::SetProgressTotal(int total) {
    total_ = total;
    Changed();
}

void Progress::SetProgressCounter(int counter) {
    counter_ = counter;
    Changed();
}

void Progress::ProgressStep() {
    ++counter_;
    Changed();
}

void Progress::ProgressDone() {
    total_ = std::max(total_, 1);
    counter_ = total_;
    Changed();
}

int Progress::Gauge() const {
    if (total_ == 0 && counter_ == 0) {
        return 0;
    }
    if (total_ != 0 && total_ >= counter_) {
        return counter_ * 100 / total_;
    }
    return 100;
}

void Progress::UserClosed() {
    if (!visible_ || cancelling_) {
        return;
    }
    if (!cancelHandler_) {
        CloseProgress();
        return;
    }
    cancelling_ = true;
    Changed();
    cancelHandler_();
}

void Progress::CloseProgress() {
    cancelling_ = false;
    counter_ = 0;
    total_ = 0;
    caption_ = kUndefined;
    text_ = kUndefined;
    if (!visible_) {
        return;
    }
    visible_ = false;
    Hidden();
    if (closeHandler_) {
        closeHandler_();
    }
}

}  // namespace km
