// The player's rendering: the one render client (a view) that draws its pictures, the
// headless renderer that keeps libmpv's video output alive while no view shows the player,
// and the hand-over of the render context between them.

#include "platform/media/Player.h"

#include "platform/media/MpvProperties.h"
#include "platform/system/LogCategories.h"

#include <mpv/client.h>
#include <mpv/render.h>

#include <QtDebug>

namespace P = MpvProperties;

namespace {

// The headless renderer's picture: small, only drawn so that libmpv keeps its pace.
constexpr int kHeadlessWidth = 64;
constexpr int kHeadlessHeight = 36;

} // namespace

mpv_render_context* Player::attachRenderClient(RenderClient* client, mpv_render_param* params,
                                               bool software) {
    if (!m_handle || !client)
        return nullptr;
    if (m_client && m_client != client) {
        RenderClient* previous = m_client;
        m_switchingClient = true;
        previous->renderContextRevoked();
        m_switchingClient = false;
        if (m_client == previous) // the client did not hand it back
            m_client = nullptr;
    }
    // A software view draws with the software context the player holds already: libmpv keeps
    // its video output, and a file still opening is never left without one.
    if (software && m_softwareRendering && m_renderContext && !m_client) {
        mpv_render_context_set_update_callback(m_renderContext, nullptr, nullptr);
        m_client = client;
        return m_renderContext;
    }
    m_outputReplacedSinceLoad = m_outputReplacedSinceLoad || m_item != nullptr;
    freeRenderContext();
    m_client = client;
    m_softwareRendering = software;
    setPropertyAsync(P::VideoRotate, software ? P::No : P::RotateFromMetadata);
    if (const int rc = mpv_render_context_create(&m_renderContext, m_handle, params); rc < 0) {
        qCWarning(platform::lcPlatform, "Player: the view's render context could not be made: %s",
                  mpv_error_string(rc));
        m_renderContext = nullptr;
        m_client = nullptr;
        m_softwareRendering = true;
        setPropertyAsync(P::VideoRotate, P::No);
        createHeadlessRenderer();
    }
    applyMonochrome();
    reselectVideo();
    return m_client == client ? m_renderContext : nullptr;
}

void Player::detachRenderClient(RenderClient* client) {
    if (!client || client != m_client)
        return;
    m_client = nullptr;
    // A software context stays for the next view while there is something to draw: the player
    // draws with it meanwhile. Without an item the context (and its scaler's threads) goes.
    if (m_softwareRendering && m_renderContext && !m_destroying && m_item) {
        drawHeadless();
        return;
    }
    m_outputReplacedSinceLoad = m_outputReplacedSinceLoad || m_item != nullptr;
    freeRenderContext();
    if (m_destroying || m_switchingClient)
        return;
    m_softwareRendering = true;
    setPropertyAsync(P::VideoRotate, P::No);
    // Without an item nothing is drawn: the renderer is made when one is loaded.
    if (m_item)
        createHeadlessRenderer();
    applyMonochrome();
    reselectVideo();
}

void Player::createHeadlessRenderer() {
    if (!m_handle || m_renderContext)
        return;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_SW)},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    if (mpv_render_context_create(&m_renderContext, m_handle, params) < 0) {
        qCWarning(platform::lcPlatform, "Player: the software renderer could not be made");
        m_renderContext = nullptr;
        return;
    }
    drawHeadless();
}

void Player::drawHeadless() {
    // Runs on libmpv's threads until it is cleared (a view takes the context, or it is freed):
    // only queue the drawing.
    mpv_render_context_set_update_callback(
        m_renderContext,
        [](void* context) {
            auto* player = static_cast<Player*>(context);
            QMetaObject::invokeMethod(
                player, [player] { player->renderHeadless(); }, Qt::QueuedConnection);
        },
        this);
}

void Player::renderHeadless() {
    if (m_client || !m_renderContext)
        return;
    if (!(mpv_render_context_update(m_renderContext) & MPV_RENDER_UPDATE_FRAME))
        return;
    int size[2] = {kHeadlessWidth, kHeadlessHeight};
    std::size_t stride = kHeadlessWidth * 4;
    m_headlessBuffer.resize(stride * kHeadlessHeight);
    mpv_render_param params[] = {{MPV_RENDER_PARAM_SW_SIZE, size},
                                 {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char*>(P::SoftwareFormat)},
                                 {MPV_RENDER_PARAM_SW_STRIDE, &stride},
                                 {MPV_RENDER_PARAM_SW_POINTER, m_headlessBuffer.data()},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    mpv_render_context_render(m_renderContext, params);
}

void Player::freeRenderContext() {
    if (!m_renderContext)
        return;
    mpv_render_context_set_update_callback(m_renderContext, nullptr, nullptr);
    mpv_render_context_free(m_renderContext);
    m_renderContext = nullptr;
}

// Freeing a render context turns video off, also for a file that is still opening: choose
// the item's picture again.
void Player::reselectVideo() {
    if (m_item && m_vid != P::No)
        setPropertyAsync(P::Vid, m_vid);
}
