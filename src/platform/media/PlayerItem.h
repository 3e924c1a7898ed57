#pragma once

#include "platform/media/Asset.h"
#include "platform/media/MediaTime.h"

#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>

class Player;

// What a Player plays: an asset (a file or a composition) with its playback state. When its
// player reaches the item's end, the item posts DidPlayToEndTimeNotification (object: the item)
// on the default NotificationCenter and emits didPlayToEndTime().
class PlayerItem : public QObject {
    Q_OBJECT
public:
    enum class Status { Unknown, ReadyToPlay, Failed };

    static const QString DidPlayToEndTimeNotification;

    static std::shared_ptr<PlayerItem> playerItemWithAsset(std::shared_ptr<Asset> asset);
    explicit PlayerItem(std::shared_ptr<Asset> asset);
    ~PlayerItem() override;

    std::shared_ptr<Asset> asset() const { return m_asset; }
    // Unknown until its player has opened it; Failed when it could not be played.
    Status status() const { return m_status; }
    // Why the item failed (empty otherwise).
    QString errorString() const { return m_error; }
    // The asset's duration once the item is ready to play; indefinite before.
    MediaTime duration() const;
    // The current position of the item's player; zero when it is in no player.
    MediaTime currentTime() const;
    // The size of the picture as displayed; empty until known (or without video).
    QSize presentationSize() const { return m_presentationSize; }
    // The player holding the item, or null.
    Player* player() const { return m_playerAlive ? m_player : nullptr; }

signals:
    void statusChanged();
    void presentationSizeChanged();
    void didPlayToEndTime();

private:
    friend class Player;
    void setStatus(Status status, const QString& error = {});
    void setPresentationSize(QSize size);
    void postDidPlayToEndTime();

    std::shared_ptr<Asset> m_asset;
    Status m_status = Status::Unknown;
    QString m_error;
    QSize m_presentationSize;
    // Set by the player the item is current in, with that player's position; the guard tells
    // whether that player still exists.
    Player* m_player = nullptr;
    QPointer<QObject> m_playerAlive;
    std::function<MediaTime()> m_playerTime;
};
