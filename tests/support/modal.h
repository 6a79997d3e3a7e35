#pragma once

// Answers modal windows in GUI tests: the answer runs inside the modal loop once the window
// is up, so the code that opened it can go on.

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace testing_support {

// Calls `answer` with the next modal window, polling for up to two seconds.
inline void WhenModalShown(std::function<void(QWidget *)> answer, int triesLeft = 200)
{
    QTimer::singleShot(10, [answer = std::move(answer), triesLeft]() mutable {
        if (QWidget *modal = QApplication::activeModalWidget(); modal && modal->isVisible())
            answer(modal);
        else if (triesLeft > 0)
            WhenModalShown(std::move(answer), triesLeft - 1);
    });
}

} // namespace testing_support
