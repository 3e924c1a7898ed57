#include "platform/media/PlayerItem.h"

#include "platform/system/NotificationCenter.h"

const QString PlayerItem::DidPlayToEndTimeNotification =
    QStringLiteral("PlayerItemDidPlayToEndTimeNotification");

std::shared_ptr<PlayerItem> PlayerItem::playerItemWithAsset(std::shared_ptr<Asset> asset) {
    return std::make_shared<PlayerItem>(std::move(asset));
}

PlayerItem::PlayerItem(std::shared_ptr<Asset> asset) : m_asset(std::move(asset)) {}

PlayerItem::~PlayerItem() = default;

MediaTime PlayerItem::duration() const {
    if (m_status != Status::ReadyToPlay || !m_asset)
        return MediaTime::indefinite();
    return m_asset->duration();
}

MediaTime PlayerItem::currentTime() const {
    return player() && m_playerTime ? m_playerTime() : MediaTime::zero();
}

void PlayerItem::setStatus(Status status, const QString& error) {
    if (m_status == status && m_error == error)
        return;
    m_status = status;
    m_error = error;
    emit statusChanged();
}

void PlayerItem::setPresentationSize(QSize size) {
    if (size == m_presentationSize)
        return;
    m_presentationSize = size;
    emit presentationSizeChanged();
}

void PlayerItem::postDidPlayToEndTime() {
    emit didPlayToEndTime();
    NotificationCenter::defaultCenter().post(DidPlayToEndTimeNotification, this);
}
