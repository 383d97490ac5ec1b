#pragma once

#include <QObject>
#include <QTimer>

#include <cstdint>

namespace chromint {

// Reports, every interval, how long the user has left keyboard and mouse alone anywhere on
// the desktop.
class TIdleTimer : public QObject {
    Q_OBJECT
public:
    explicit TIdleTimer(int intervalMs, QObject* parent = nullptr);

    // Milliseconds since the last input; 0 where the session cannot tell, so users of the
    // timer keep following the user. Also raises Idle.
    std::uint32_t GetIdleTime();
    std::uint32_t Idle() const { return idle_; }
    bool Enabled() const { return timer_.isActive(); }
    void SetEnabled(bool enabled);
    int Interval() const { return timer_.interval(); }
    void SetInterval(int intervalMs) { timer_.setInterval(intervalMs); }

signals:
    void OnIdle(quint32 idleTime);

private:
    QTimer timer_;
    std::uint32_t idle_ = 0;
};

// Keeps a stay-on-top window above the others: when a window system demotes it while this
// program is active, it is put back on top.
class TStayOnTopFixer : public QObject {
    Q_OBJECT
public:
    explicit TStayOnTopFixer(QWidget* form);
    ~TStayOnTopFixer() override;

    bool StayOnTop() const { return stayOnTop_; }
    void SetStayOnTop(bool stayOnTop);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* form_;
    bool stayOnTop_ = false;
};

} // namespace chromint
