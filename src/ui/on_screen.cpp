#include "ui/on_screen.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <memory>
#include <vector>

namespace zentrail::ui {

namespace {

constexpr int kPollMs = 50;
// Leaves room for a blinking text cursor or a focus frame drawn a moment apart.
constexpr double kLeastShareAsDrawn = 0.9;

bool Exposed(const QWidget& window) {
    return window.isVisible() && window.windowHandle() && window.windowHandle()->isExposed();
}

// The share of pixels on the screen that are what the window draws itself. A window that never
// paints shows one colour, or whatever lay beneath it.
double ShareAsDrawn(const QImage& screen, const QImage& drawn) {
    if (screen.size() != drawn.size() || screen.isNull()) return 0;
    const QImage a = screen.convertToFormat(QImage::Format_RGB32);
    const QImage b = drawn.convertToFormat(QImage::Format_RGB32);
    long same = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* la = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* lb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            same += qRed(la[x]) == qRed(lb[x]) && qGreen(la[x]) == qGreen(lb[x]) &&
                    qBlue(la[x]) == qBlue(lb[x]);
    }
    return static_cast<double>(same) / (static_cast<double>(a.width()) * a.height());
}

bool SingleColour(const QImage& image) {
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    const QRgb first = pixels.pixel(0, 0);
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        for (int x = 0; x < pixels.width(); ++x)
            if (line[x] != first) return false;
    }
    return true;
}

// Lets the event loop run for about `ms`, whoever's loop it is.
void Pause(int ms) {
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, kPollMs);
        QThread::msleep(5);
    }
}

bool IsDialogOrPopup(const QWidget& w) { return w.isModal() || w.windowType() == Qt::Popup; }

}  // namespace

QImage GrabFromScreen(const QWidget& window, ScreenArea area) {
    QScreen* screen = window.screen();
    if (!screen) return {};
    QRect rect = area == ScreenArea::WithFrame
                     ? window.frameGeometry()
                     : QRect(window.mapToGlobal(QPoint(0, 0)), window.size());
    rect.translate(-screen->geometry().topLeft());
    // Window 0 is the root: what the display shows there, whichever window is on top.
    return screen->grabWindow(0, rect.x(), rect.y(), rect.width(), rect.height()).toImage();
}

ScreenLook WaitUntilPainted(QWidget& window, int timeoutMs) {
    ScreenLook look;
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (Exposed(window)) {
            look.image = GrabFromScreen(window);
            if (look.image.isNull())
                look.description = "the screen could not be grabbed";
            else if (SingleColour(look.image))
                look.description = QStringLiteral("its %1x%2 area on the screen is one colour (%3)")
                                       .arg(look.image.width())
                                       .arg(look.image.height())
                                       .arg(QColor(look.image.pixel(0, 0)).name());
            else if (double share = ShareAsDrawn(look.image, window.grab().toImage());
                     share < kLeastShareAsDrawn)
                look.description =
                    QStringLiteral("only %1 % of its area on the screen is what it draws")
                        .arg(static_cast<int>(share * 100));
            else {
                look.painted = true;
                look.description.clear();
                return look;
            }
        } else {
            look.description = "it is not exposed on the screen";
        }
        if (deadline.hasExpired()) return look;
        Pause(100);
    }
}

void WhenNextModalShown(std::function<void(QWidget&)> handler, int timeoutMs) {
    // Windows already on show (the transfer window is modal too) are not the next one.
    auto before = std::make_shared<std::vector<QPointer<QWidget>>>();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) before->push_back(w);
    auto* timer = new QTimer(qApp);
    auto deadline = std::make_shared<QDeadlineTimer>(timeoutMs);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, before, deadline, handler] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            // Visible is enough: the handler finds out whether it ever shows, and closes it.
            if (!IsDialogOrPopup(*w) || !w->isVisible()) continue;
            bool old = false;
            for (const QPointer<QWidget>& seen : *before) old = old || seen == w;
            if (old) continue;
            timer->stop();
            timer->deleteLater();
            handler(*w);
            return;
        }
        if (deadline->hasExpired()) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(kPollMs);
}

}  // namespace zentrail::ui
