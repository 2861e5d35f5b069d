#include "QtTimers.h"

#include <QString>
#include <QTimer>

namespace km {

namespace {
class QtTimer : public Timer {
  public:
    QtTimer(std::string_view name, std::function<void()> onTick) {
        timer_.setObjectName(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [tick = std::move(onTick)] { tick(); });
    }
    void Start(int intervalMs) override {
        if (intervalMs <= 0) {
            timer_.stop();
        } else {
            timer_.start(intervalMs);  // restarts a running timer
        }
    }
    void Stop() override { timer_.stop(); }
    bool IsActive() const override { return timer_.isActive(); }

  private:
    QTimer timer_;
};
}  // namespace

std::unique_ptr<Timer> QtTimerService::CreateTimer(std::string_view name,
                                                   std::function<void()> onTick) {
    return std::make_unique<QtTimer>(name, std::move(onTick));
}

}  // namespace km
