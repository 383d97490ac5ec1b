#include "IdleTimer.h"

#include "IdleTime.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace chromint {

TIdleTimer::TIdleTimer(int intervalMs, QObject* parent) : QObject(parent) {
    timer_.setInterval(intervalMs);
    connect(&timer_, &QTimer::timeout, this, [this] { idle_ = GetIdleTime(); });
    timer_.start();
}

std::uint32_t TIdleTimer::GetIdleTime() {
    const std::uint32_t idle = DesktopIdleMilliseconds().value_or(0);
    emit OnIdle(idle);
    return idle;
}

void TIdleTimer::SetEnabled(bool enabled) {
    if (enabled)
        timer_.start();
    else
        timer_.stop();
}

TStayOnTopFixer::TStayOnTopFixer(QWidget* form) : form_(form) {
    if (form_ != nullptr) {
        stayOnTop_ = form_->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        form_->installEventFilter(this);
    }
}

TStayOnTopFixer::~TStayOnTopFixer() {
    if (form_ != nullptr)
        form_->removeEventFilter(this);
}

void TStayOnTopFixer::SetStayOnTop(bool stayOnTop) {
    if (stayOnTop == stayOnTop_)
        return;
    stayOnTop_ = stayOnTop;
    if (stayOnTop && form_ != nullptr && !form_->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
        const bool visible = form_->isVisible();
        form_->setWindowFlag(Qt::WindowStaysOnTopHint, true);
        if (visible)
            form_->show(); // changing the flags hides a window
    }
}

bool TStayOnTopFixer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == form_ && stayOnTop_ &&
        (event->type() == QEvent::Move || event->type() == QEvent::WindowDeactivate)) {
        // Only while this program is the active one: another program's window may cover it.
        if (QApplication::activeWindow() != nullptr && form_->isVisible()) {
            if (!form_->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
                form_->setWindowFlag(Qt::WindowStaysOnTopHint, true);
                form_->show();
            }
            form_->raise();
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace chromint
