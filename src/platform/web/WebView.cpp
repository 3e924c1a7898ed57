#include "platform/web/WebView.h"

#include "platform/web/GraphicsSupport.h"

#include <QChildEvent>
#include <QCoreApplication>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <unistd.h>

#include <cmath>
#include <utility>

namespace {

constexpr qsizetype kMaxPendingScripts = 10000;

// The engine reads its sandbox switch once, when it starts.
void prepareEngineEnvironment() {
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    GraphicsSupport::prepareWebEngine();
}

} // namespace

WebView::WebView(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_timeout.setSingleShot(true);
    connect(&m_timeout, &QTimer::timeout, this, [this] {
        if (!m_loading)
            return;
        if (m_view)
            m_view->stop();
        finishLoad(false);
    });
}

WebView::~WebView() {
    // Completions still waiting are dropped with the view, without a call.
    m_pending.clear();
}

void WebView::dropPending() {
    const QList<PendingScript> dropped = std::exchange(m_pending, {});
    for (const PendingScript& script : dropped) {
        if (script.completion)
            script.completion(QVariant());
    }
}

QWebEngineView* WebView::engineView() {
    if (!m_view) {
        prepareEngineEnvironment();
        m_view = new QWebEngineView(this);
        m_view->setContextMenuPolicy(Qt::NoContextMenu);
        m_view->setFocusPolicy(focusPolicy());
        m_view->installEventFilter(this);
        layout()->addWidget(m_view);
        connect(m_view, &QWebEngineView::loadStarted, this, &WebView::onLoadStarted);
        connect(m_view, &QWebEngineView::loadFinished, this, &WebView::onLoadFinished);
    }
    return m_view;
}

bool WebView::eventFilter(QObject* watched, QEvent* event) {
    // The engine adds the widget that shows the page (and takes the keys) when it needs it.
    if (watched == m_view && event->type() == QEvent::ChildAdded) {
        if (auto* child = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child()))
            child->setFocusPolicy(focusPolicy());
    }
    return QWidget::eventFilter(watched, event);
}

void WebView::load(const QUrl& url, double timeoutSeconds) {
    QWebEngineView* view = engineView();
    // Scripts still waiting were meant for the page being replaced.
    dropPending();
    m_url = url;
    m_loading = true;
    m_loaded = false;
    // The end of a load that this one interrupts may still be on its way.
    m_sawStart = false;
    if (std::isfinite(timeoutSeconds) && timeoutSeconds > 0)
        m_timeout.start(static_cast<int>(std::min(timeoutSeconds, 86400.0) * 1000.0));
    else
        m_timeout.stop();
    view->load(url);
}

void WebView::onLoadStarted() {
    m_loading = true;
    m_loaded = false;
    m_sawStart = true;
}

void WebView::onLoadFinished(bool ok) {
    if (m_sawStart)
        finishLoad(ok);
}

void WebView::finishLoad(bool ok) {
    m_sawStart = false;
    m_timeout.stop();
    m_loading = false;
    m_loaded = ok;
    // Scripts that waited for this page run now, in order; a script that
    // starts another load sends the rest to that page.
    while (!m_pending.isEmpty() && !m_loading) {
        const PendingScript next = m_pending.takeFirst();
        run(next.script, next.completion);
    }
    emit loadFinished(ok);
}

void WebView::evaluateJavaScript(const QString& script, Completion completion) {
    if (!m_view) {
        if (completion)
            completion(QVariant());
        return;
    }
    if (m_loading) {
        // A load that never ends must not hold scripts without bound.
        if (m_pending.size() >= kMaxPendingScripts) {
            const PendingScript oldest = m_pending.takeFirst();
            if (oldest.completion)
                oldest.completion(QVariant());
        }
        m_pending.append({script, std::move(completion)});
        return;
    }
    run(script, completion);
}

void WebView::run(const QString& script, const Completion& completion) {
    if (!m_view) {
        if (completion)
            completion(QVariant());
        return;
    }
    if (completion)
        m_view->page()->runJavaScript(script, completion);
    else
        m_view->page()->runJavaScript(script);
}

QImage WebView::snapshot() {
    return grab().toImage();
}

void WebView::takeSnapshot(SnapshotCompletion completion) {
    if (!completion)
        return;
    QPointer<WebView> self(this);
    // Delivered later, as a browser engine delivers its snapshots; a view deleted in
    // between still answers (without a picture).
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [self, completion] {
            if (!self) {
                completion(QImage(), QStringLiteral("the web view was closed"));
                return;
            }
            if (!self->m_view || !self->m_loaded) {
                completion(QImage(), QStringLiteral("no page is loaded"));
                return;
            }
            const QImage image = self->snapshot();
            if (image.isNull())
                completion(QImage(), QStringLiteral("the page could not be drawn"));
            else
                completion(image, QString());
        },
        Qt::QueuedConnection);
}

QString WebView::javaScriptStringLiteral(const QString& text) {
    QString literal;
    literal.reserve(text.size() + 2);
    literal += QLatin1Char('\'');
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        switch (u) {
        case u'\\':
            literal += QLatin1String("\\\\");
            break;
        case u'\'':
            literal += QLatin1String("\\'");
            break;
        case u'"':
            literal += QLatin1String("\\\"");
            break;
        case u'\n':
            literal += QLatin1String("\\n");
            break;
        case u'\r':
            literal += QLatin1String("\\r");
            break;
        case u'\t':
            literal += QLatin1String("\\t");
            break;
        default:
            // Other control characters, the two line separators JavaScript
            // ends lines at, and '<' (so "</script>" never appears) as \uXXXX.
            if (u < 0x20 || u == 0x7f || u == 0x2028 || u == 0x2029 || u == u'<')
                literal += QStringLiteral("\\u%1").arg(unsigned(u), 4, 16, QLatin1Char('0'));
            else
                literal += c;
        }
    }
    literal += QLatin1Char('\'');
    return literal;
}
