#include "platform/media/PlayerView.h"

#include "platform/media/Player.h"
#include "platform/media/PlayerSurfaceFactory.h"

#include <QGuiApplication>
#include <QHash>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QResizeEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The view showing each player: a player is shown by one view at a time.
QHash<const Player*, PlayerView*>& viewsByPlayer() {
    static QHash<const Player*, PlayerView*> views;
    return views;
}

} // namespace

bool PlayerView::openGlAvailable() {
    static const bool available = [] {
        // The software renderer draws each view on a thread of its own and keeps the channels in
        // step on any machine; the OpenGL view is used only when asked for and a context can be made.
        if (qgetenv("KAVRIN_PLAYER_VIEW").toLower() != "opengl")
            return false;
        const QString platform = QGuiApplication::platformName();
        if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
            return false;
        QOpenGLContext context;
        if (!context.create())
            return false;
        QOffscreenSurface surface;
        surface.setFormat(context.format());
        surface.create();
        const bool current = surface.isValid() && context.makeCurrent(&surface);
        if (current)
            context.doneCurrent();
        return current;
    }();
    return available;
}

PlayerView::PlayerView(QWidget* parent, Renderer renderer) : QWidget(parent) {
    const bool gl = renderer == Renderer::OpenGL || (renderer == Renderer::Automatic && openGlAvailable());
    m_surface = makePlayerSurface(this, gl);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_surface->widget());
    setAutoFillBackground(false);
}

PlayerView::~PlayerView() {
    if (m_player && viewsByPlayer().value(m_player) == this)
        viewsByPlayer().remove(m_player);
    // The surface hands the player's rendering back while the view is still whole.
    if (m_surface)
        m_surface->setPlayer(nullptr);
}

bool PlayerView::usesSoftwareRenderer() const {
    return m_surface->isSoftware();
}

PlayerView* PlayerView::showing(const Player* player) {
    return viewsByPlayer().value(player);
}

Player* PlayerView::player() const {
    return m_player;
}

void PlayerView::setPlayer(Player* player) {
    if (player == m_player)
        return;
    if (m_player) {
        if (viewsByPlayer().value(m_player) == this)
            viewsByPlayer().remove(m_player);
        disconnect(m_destroyedConnection);
        disconnect(m_itemConnection);
        disconnect(m_sizeConnection);
        // The filter and the magnification belong to the view.
        m_player->setMonochrome(false);
        m_player->setVideoMagnification(1.0, 0.0, 0.0);
    }
    if (player) {
        if (PlayerView* other = viewsByPlayer().value(player); other && other != this)
            other->setPlayer(nullptr);
        viewsByPlayer().insert(player, this);
        // Forget the player when it goes away first.
        m_destroyedConnection = connect(player, &QObject::destroyed, this, [this, player] {
            if (viewsByPlayer().value(player) == this)
                viewsByPlayer().remove(player);
        });
    }
    m_player = player;
    m_surface->setPlayer(player);
    if (m_player) {
        m_player->setMonochrome(m_mono);
        m_itemConnection = connect(m_player, &Player::currentItemChanged, this, [this] { watchItem(); });
        watchItem();
    }
}

void PlayerView::watchItem() {
    disconnect(m_sizeConnection);
    if (m_player && m_player->currentItem())
        m_sizeConnection = connect(m_player->currentItem().get(), &PlayerItem::presentationSizeChanged, this,
                                   [this] { applyMagnification(); });
    applyMagnification();
}

void PlayerView::setMono(bool on) {
    m_mono = on;
    if (m_player)
        m_player->setMonochrome(on);
}

void PlayerView::setVisibleRegion(double magnification, QPointF centre) {
    m_magnification = std::max(1.0, magnification);
    m_centre = centre;
    applyMagnification();
}

QRectF PlayerView::videoRect() const {
    const QRectF bounds(QPointF(0, 0), QSizeF(size()));
    QSize picture;
    if (m_player && m_player->currentItem())
        picture = m_player->currentItem()->presentationSize();
    if (picture.isEmpty() || bounds.isEmpty())
        return bounds;
    const QSizeF fitted = QSizeF(picture).scaled(bounds.size(), Qt::KeepAspectRatio);
    return QRectF(QPointF((bounds.width() - fitted.width()) / 2, (bounds.height() - fitted.height()) / 2),
                  fitted);
}

// The magnified view shows the region around the centre; libmpv moves the picture by fractions
// of its magnified size, so the offset of the centre from the middle is divided by the picture's
// unmagnified size.
void PlayerView::applyMagnification() {
    if (!m_player)
        return;
    const QRectF picture = videoRect();
    double panX = 0.0, panY = 0.0;
    if (m_magnification > 1.0 && picture.width() > 0 && picture.height() > 0) {
        panX = (width() / 2.0 - m_centre.x() * width()) / picture.width();
        panY = (height() / 2.0 - m_centre.y() * height()) / picture.height();
    }
    m_player->setVideoMagnification(m_magnification, panX, panY);
}

void PlayerView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    applyMagnification();
}
