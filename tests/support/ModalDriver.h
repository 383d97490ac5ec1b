#pragma once

// Answers the modal windows a command opens: each step runs on the next modal window that
// shows, in order, from a timer, so a test can drive nested exec() calls.

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <deque>
#include <functional>
#include <memory>

namespace chromint::testing {

class ModalDriver {
public:
    using Step = std::function<void(QWidget* modal)>;

    ModalDriver() {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start();
    }

    void Then(Step step) { steps_.push_back(std::move(step)); }
    bool Done() const { return steps_.empty(); }
    int Handled() const { return handled_; }

private:
    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == last_ || steps_.empty())
            return;
        last_ = modal;
        // A dialog run again after it closed is a new modal window for the next step.
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            QObject::connect(
                dialog, &QDialog::finished, &timer_, [this] { last_ = nullptr; },
                Qt::SingleShotConnection);
        Step step = std::move(steps_.front());
        steps_.pop_front();
        ++handled_;
        step(modal);
    }

    QTimer timer_;
    std::deque<Step> steps_;
    QPointer<QWidget> last_;
    int handled_ = 0;
};

} // namespace chromint::testing
