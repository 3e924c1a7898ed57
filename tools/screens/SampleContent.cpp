#include "SampleContent.h"

#include "controls/BackgroundView.h"
#include "controls/CustomButton.h"
#include "controls/DefaultImgBtnCell.h"
#include "controls/OrvoImgBtnCell.h"
#include "controls/OrvoSliderCell.h"
#include "controls/OrvoVerticalAlignText.h"
#include "platform/system/Localization.h"
#include "player/dataviews/OrvoGraphChartView.h"
#include "player/dataviews/OrvoLineChartView.h"
#include "player/fullscreen/MainViewController.h"
#include "player/window/OrvoViewController.h"

#include "metadata/orvoTableModel.h"
#include "shared/PlayerState.h"
#include <QGridLayout>
#include <QLabel>
#include <QPainter>

#include <QStandardItemModel>
#include <QTableView>

#include <cmath>

namespace {

// One minute of samples at ten a second: a drive that speeds up, brakes and
// goes over a bump, with the G-sensor following it.
orvoPacketModel sampleMetadata() {
    orvoPacketModel model;
    model.name = QStringLiteral("20241108_153012_F_N.mp4");
    for (int i = 0; i < 600; ++i) {
        const double t = i / 10.0;
        const double speed =
            t < 20 ? 18 + 2.4 * t : (t < 38 ? 66 - 0.4 * (t - 20) : 58 - 1.5 * std::max(0.0, t - 45));
        OrvoVideoPacket packet;
        const double bump = std::exp(-std::pow((t - 31.0) * 3.0, 2.0));
        packet.gsensor_x = float(0.08 * std::sin(t * 1.7) + (t > 38 && t < 45 ? -0.35 : 0.0));
        packet.gsensor_y = float(0.05 * std::sin(t * 2.9 + 1.0) + 0.6 * bump);
        packet.gsensor_z = float(1.0 + 0.04 * std::sin(t * 7.0) - 0.9 * bump);
        packet.gps_speed = float(std::max(0.0, speed));
        model.packet.append(packet);
    }
    return model;
}

// A still of a camera channel, drawn: sky, road with lane marks and the
// camera's own caption, in the colours of a dusk drive.
QImage cameraFrame(QSize size, const QString& caption, double brightness, bool mirrored) {
    QImage frame(size, QImage::Format_RGB32);
    QPainter painter(&frame);
    painter.setRenderHint(QPainter::Antialiasing);
    const int w = size.width(), h = size.height();
    const int horizon = int(h * 0.46);
    QLinearGradient sky(0, 0, 0, horizon);
    sky.setColorAt(0, QColor::fromHsvF(0.6, 0.45, 0.55 * brightness));
    sky.setColorAt(1, QColor::fromHsvF(0.08, 0.35, 0.85 * brightness));
    painter.fillRect(QRect(0, 0, w, horizon), sky);
    QLinearGradient ground(0, horizon, 0, h);
    ground.setColorAt(0, QColor::fromHsvF(0.25, 0.25, 0.32 * brightness));
    ground.setColorAt(1, QColor::fromHsvF(0.25, 0.2, 0.16 * brightness));
    painter.fillRect(QRect(0, horizon, w, h - horizon), ground);
    // Buildings along the horizon.
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 14; ++i) {
        const int bw = w / 16 + (i * 37) % (w / 20 + 1);
        const int bh = int(h * (0.06 + ((i * 53) % 10) / 70.0));
        const int x = (i * w) / 14 - bw / 3;
        painter.setBrush(QColor::fromHsvF(0.62, 0.25, (0.18 + (i % 3) * 0.05) * brightness));
        painter.drawRect(QRect(x, horizon - bh, bw, bh));
    }
    // The road and its lanes.
    const double vx = mirrored ? w * 0.54 : w * 0.46;
    QPolygonF road({QPointF(vx - w * 0.02, horizon), QPointF(vx + w * 0.02, horizon), QPointF(w * 1.05, h),
                    QPointF(-w * 0.05, h)});
    painter.setBrush(QColor::fromHsvF(0.0, 0.0, 0.22 * brightness));
    painter.drawPolygon(road);
    painter.setPen(QPen(QColor::fromHsvF(0.13, 0.7, 0.9 * brightness), std::max(1.0, w / 300.0)));
    painter.drawLine(QPointF(vx - w * 0.012, horizon), QPointF(w * 0.08, h));
    painter.drawLine(QPointF(vx + w * 0.012, horizon), QPointF(w * 0.92, h));
    painter.setPen(
        QPen(QColor(235, 235, 235, int(220 * brightness)), std::max(1.0, w / 260.0), Qt::DashLine));
    painter.drawLine(QPointF(vx, horizon), QPointF(w * 0.5, h));
    // The car ahead, with its lights.
    const QRectF car(vx - w * 0.06, horizon + h * 0.12, w * 0.12, h * 0.09);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(20, 22, 26));
    painter.drawRoundedRect(car, 4, 4);
    painter.setBrush(QColor(230, 40, 30));
    painter.drawEllipse(QRectF(car.left() + car.width() * 0.08, car.top() + car.height() * 0.35,
                               car.width() * 0.14, car.height() * 0.22));
    painter.drawEllipse(QRectF(car.right() - car.width() * 0.22, car.top() + car.height() * 0.35,
                               car.width() * 0.14, car.height() * 0.22));
    // The camera's caption.
    QFont font = painter.font();
    font.setPixelSize(std::max(9, h / 22));
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(255, 255, 255, 225));
    painter.drawText(QRect(8, h - font.pixelSize() * 2, w - 16, font.pixelSize() * 2),
                     Qt::AlignLeft | Qt::AlignVCenter,
                     caption + QStringLiteral("   2024-11-08 15:30:33   62km/h"));
    return frame;
}

} // namespace

void SampleContent::fillWindowPlayer(ViewController* screen) {
    auto* player = qobject_cast<OrvoViewController*>(screen);
    if (!player)
        return;
    player->modelText->setText(QStringLiteral("KV-900"));
    player->versionTxt->setText(QStringLiteral("1.04.2"));
    player->videoNameText->setText(QStringLiteral("20241108_153012_F_N.mp4"));
    player->videoCurrentText->setText(QStringLiteral("00:00:21"));
    player->videoTotalText->setText(QStringLiteral("00:01:00"));
    player->videoSlider->setDoubleValue(0.35);
    player->meterValueText->setText(QStringLiteral("62"));
    player->meterImg->setImageName(QStringLiteral("speed_graph_15"));
    player->gpsOnOffImg->setImageName(QStringLiteral("img_gps_on"));
    player->gpsOnOffText->setText(localized("GPS On"));
    player->motionXText->setText(QStringLiteral("X : 0.12"));
    player->motionYText->setText(QStringLiteral("Y : -0.04"));
    player->motionZText->setText(QStringLiteral("Z : 1.01"));
    player->playPauseBtn->setImageName(QStringLiteral("btn_all_pause"));
    player->motionChartView->orvoPacket = sampleMetadata();
    player->speedChartView->orvoPacket = sampleMetadata();
    player->chartIntervalView->show();
    // The chart marker at the play position.
    if (QLayoutItem* leading = player->chartIntervalView->layout()->itemAt(0);
        leading && leading->spacerItem()) {
        leading->spacerItem()->changeSize(int(player->chartIntervalView->width() * 0.35), 0,
                                          QSizePolicy::Fixed);
        player->chartIntervalView->layout()->invalidate();
    }

    // The map page cannot load here: the message of a missing connection.
    player->mapFirstLabel->setText(localized("지도를 표시할 수 없습니다."));
    player->mapSecondLabel->setText(localized("인터넷 연결을 확인해 주세요."));
    player->mapFirstLabel->show();
    player->mapSecondLabel->show();

    // Three camera channels in the grid; the fourth quarter has no channel and stays black.
    const QSize cell = player->videoContentView->size() / 2;
    const QSize frameSize = QSize(16, 9).scaled(cell, Qt::KeepAspectRatio);
    player->defaultImgBtn->hide();
    auto* grid = new QGridLayout(player->videoContentView);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    const struct {
        const char* caption;
        double brightness;
        bool mirrored;
    } cameras[] = {{"FRONT", 1.0, false}, {"REAR", 0.85, true}, {"INSIDE", 0.55, false}};
    for (int i = 0; i < 4; ++i) {
        auto* view = new QLabel(player->videoContentView);
        view->setAlignment(Qt::AlignCenter);
        view->setMinimumSize(1, 1);
        view->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        view->setStyleSheet(QStringLiteral("background: black;"));
        if (i < 3)
            view->setPixmap(QPixmap::fromImage(cameraFrame(frameSize, QString::fromLatin1(cameras[i].caption),
                                                           cameras[i].brightness, cameras[i].mirrored)));
        grid->addWidget(view, i / 2, i % 2);
    }
    const struct {
        CustomButton* button;
        int family;
        char state;
    } channels[] = {{player->ch1Btn, 1, 'n'},
                    {player->ch2Btn, 2, 'n'},
                    {player->ch3Btn, 2, 'n'},
                    {player->ch4Btn, 2, 'n'},
                    {player->multipleModeBtn, 3, 's'}};
    for (const auto& channel : channels) {
        channel.button->setImageName(
            QStringLiteral("btn_ch_%1_%2").arg(channel.family).arg(QLatin1Char(channel.state)));
        channel.button->setIsActivated(true);
    }

    // The rows as the list makes them of a camera's file names; only the Korean interface names
    // the districts, the others show "-".
    const char* districts[] = {"서울특별시 종로구",   "서울특별시 종로구", "서울특별시 중구",
                               "서울특별시 중구",     "서울특별시 용산구", "서울특별시 용산구",
                               "서울특별시 마포구",   "서울특별시 마포구", "-",
                               "서울특별시 서대문구", "서울특별시 은평구", "부산광역시 연제구"};
    const char* channelTexts[] = {"3CH", "2CH", "3CH", "1CH", "3CH", "2CH"};
    const bool namesDistricts = isKoreanInterface();
    QList<orvoTableModel> entries;
    for (int i = 0; i < 24; ++i) {
        const int minutes = 10 + i;
        orvoTableModel entry;
        entry.url = QUrl::fromLocalFile(QStringLiteral("/card/20241108-15%1%2_F_N.mp4").arg(minutes).arg(12));
        entry.row.Date = QStringLiteral("20241108");
        entry.row.Time = QStringLiteral("15%1%2").arg(minutes, 2, 10, QLatin1Char('0')).arg(12);
        entry.row.Channel = QString::fromLatin1(channelTexts[i % 6]);
        entry.row.location = namesDistricts ? QString::fromUtf8(districts[i % 12]) : QStringLiteral("-");
        entries.append(entry);
    }
    displayedRecordingList = entries;
    player->reloadTableData();
    // The recording being played is marked in orange; the table's selection is grey.
    player->highlightPlayingRow(18);
    player->orvoTableView->selectRow(20);
}

void SampleContent::fillFullScreenPlayer(ViewController* screen) {
    auto* player = qobject_cast<MainViewController*>(screen);
    if (!player)
        return;
    player->videoCurrentText->setText(QStringLiteral("00:00:21"));
    player->videoTotalText->setText(QStringLiteral("00:01:00"));
    player->videoSlider->setDoubleValue(0.35);
    player->playPauseBtn->setImageName(QStringLiteral("btn_all_pause"));
    player->playModeBtn->setImageName(QStringLiteral("btn_all_2ch"));

    // The rear channel, fitted into the video area above the control bar.
    auto* videoArea = player->backgroundView->layout()->itemAt(0)->layout();
    auto* grid = qobject_cast<QGridLayout*>(videoArea);
    if (!grid)
        return;
    player->defaultImgBtn->hide();
    const QRect area = grid->geometry();
    auto* view = new QLabel(player->backgroundView);
    view->setAlignment(Qt::AlignCenter);
    view->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    view->setPixmap(QPixmap::fromImage(cameraFrame(QSize(16, 9).scaled(area.size(), Qt::KeepAspectRatio),
                                                   QStringLiteral("REAR"), 0.85, true)));
    grid->addWidget(view, 0, 0);
}
