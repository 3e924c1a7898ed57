#pragma once

// Helpers of the still-capture tests: frames decoded by the `ffmpeg` tool for
// comparison, picture differences, the desktop folder moved into the test's own
// home, and answering the modal alerts the capture shows.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QStandardPaths>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace capturetest {

// The frame `ffmpeg -ss T -i FILE -frames:v 1` decodes (video stream `stream`), converted to
// RGB with the scaler settings of the frame grab (full chroma interpolation) so that only
// the frame itself can differ; null on failure.
inline QImage ffmpegFrame(const QString& file, double seconds, int stream = 0) {
    const QString out = QDir::temp().filePath(QStringLiteral("kavrin-ffmpeg-frame-%1-%2.png")
                                                  .arg(QCoreApplication::applicationPid())
                                                  .arg(QRandomGenerator::global()->generate64()));
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {QStringLiteral("-nostdin"), QStringLiteral("-v"), QStringLiteral("error"),
                  QStringLiteral("-y"), QStringLiteral("-ss"), QString::number(seconds, 'f', 6),
                  QStringLiteral("-i"), file, QStringLiteral("-map"), QStringLiteral("0:v:%1").arg(stream),
                  QStringLiteral("-frames:v"), QStringLiteral("1"), QStringLiteral("-vf"),
                  QStringLiteral("scale=flags=bicubic+accurate_rnd+full_chroma_int,format=rgb24"), out});
    if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitCode() != 0) {
        ADD_FAILURE() << "ffmpeg failed on " << file.toStdString() << ": " << ffmpeg.readAll().toStdString();
        return {};
    }
    QImage image(out);
    QFile::remove(out);
    return image.convertToFormat(QImage::Format_RGB32);
}

// The share of pixels (0-1) whose colour differs by more than `threshold` in any channel;
// 1 when the sizes differ.
inline double differingShare(const QImage& a, const QImage& b, int threshold = 40) {
    if (a.isNull() || b.isNull() || a.size() != b.size())
        return 1.0;
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    qint64 differing = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            if (std::abs(qRed(p[col]) - qRed(q[col])) > threshold ||
                std::abs(qGreen(p[col]) - qGreen(q[col])) > threshold ||
                std::abs(qBlue(p[col]) - qBlue(q[col])) > threshold)
                ++differing;
        }
    }
    return static_cast<double>(differing) / (static_cast<double>(x.width()) * x.height());
}

// The mean absolute difference of the colour channels (0-255); 255 when the sizes differ.
inline double meanDifference(const QImage& a, const QImage& b) {
    if (a.isNull() || b.isNull() || a.size() != b.size())
        return 255.0;
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col)
            sum += std::abs(qRed(p[col]) - qRed(q[col])) + std::abs(qGreen(p[col]) - qGreen(q[col])) +
                   std::abs(qBlue(p[col]) - qBlue(q[col]));
    }
    return sum / (3.0 * x.width() * x.height());
}

// How many distinct colours (quantised to 4 bits a channel) a region shows: 1 for a flat
// (black or white) one.
inline int colourCount(const QImage& image, const QRect& region) {
    const QImage x = image.convertToFormat(QImage::Format_RGB32);
    QSet<int> colours;
    const QRect r = region.intersected(x.rect());
    for (int row = r.top(); row <= r.bottom(); row += 2) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        for (int col = r.left(); col <= r.right(); col += 2)
            colours.insert(((qRed(p[col]) >> 4) << 8) | ((qGreen(p[col]) >> 4) << 4) | (qBlue(p[col]) >> 4));
    }
    return static_cast<int>(colours.size());
}

// A click on `button` as the window system delivers it (press and release events), so that
// what the click closes is deleted by the next round of the event loop.
inline void clickButton(QWidget* button) {
    const QPointF centre(button->width() / 2.0, button->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, centre, button->mapToGlobal(centre), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(button, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, button->mapToGlobal(centre), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(button, &release);
}

// Points the user's desktop folder (XDG_DESKTOP_DIR in user-dirs.dirs of the test's own
// configuration folder) at `path`.
inline void setDesktopFolder(const QString& path) {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QDir().mkpath(config);
    QFile file(config + QStringLiteral("/user-dirs.dirs"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("XDG_DESKTOP_DIR=\"" + path.toUtf8() + "\"\n");
    file.close();
    ASSERT_EQ(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation), path);
}

// The alerts shown while an AlertCatcher lives, each answered at once: "title | message".
class AlertCatcher {
public:
    AlertCatcher() {
        m_timer = std::make_unique<QTimer>();
        QObject::connect(m_timer.get(), &QTimer::timeout, [this] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(widget);
                if (!box || !box->isVisible())
                    continue;
                alerts.append(box->text() + QStringLiteral(" | ") + box->informativeText());
                box->accept();
            }
        });
        m_timer->start(20);
    }
    QStringList alerts;

private:
    std::unique_ptr<QTimer> m_timer;
};

} // namespace capturetest
