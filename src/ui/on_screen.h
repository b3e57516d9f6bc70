#pragma once

#include <QImage>
#include <QString>
#include <functional>

class QWidget;

namespace zentrail::ui {

// What the display shows of a window, read back from the screen itself. A window that never
// paints still renders fine through QWidget::grab, so only a grab of the screen can tell.
enum class ScreenArea { Client, WithFrame };

QImage GrabFromScreen(const QWidget& window, ScreenArea area = ScreenArea::Client);

struct ScreenLook {
    bool painted = false;
    QImage image;         // the last grab
    QString description;  // why it does not count as painted
};

// Waits (running the event loop) until the window is exposed and its area on the screen is more
// than one colour and nearly all what the window draws, or until the time is up.
ScreenLook WaitUntilPainted(QWidget& window, int timeoutMs = 10'000);

// Runs `handler` once the next modal window or popup is on the screen, from inside whatever
// event loop is running then: a box shown with exec() blocks its caller, so whoever wants to
// look at it must be called from within. The handler closes the window. Nothing is called when
// no such window comes within the time.
void WhenNextModalShown(std::function<void(QWidget&)> handler, int timeoutMs = 60'000);

}  // namespace zentrail::ui
