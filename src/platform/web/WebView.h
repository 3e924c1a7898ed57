#pragma once

#include <QImage>
#include <QList>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <QVariant>
#include <QWidget>

#include <functional>

class QWebEngineView;

// A web view: loads a page and runs JavaScript in it.
//
// The browser engine (QWebEngineView) is started only with the first load, so
// a window that holds a web view but never loads a page costs nothing. Running
// as root, the engine's sandbox is switched off before it starts (the engine
// refuses to run otherwise).
//
// Scripts evaluated while a page is loading wait for the page and then run in
// the order they were given (a newer load drops them, as they were meant for
// the page it replaces); scripts evaluated before any page was loaded are
// dropped. A dropped script's completion gets an invalid result.
//
// The engine's own widgets take the view's focus policy, so that a view set to
// take no focus stays out of the Tab order and leaves the keys where they were
// when it is clicked.
class WebView : public QWidget {
    Q_OBJECT

public:
    // What a script's completion receives: the script's result (invalid when
    // the script failed, returned nothing convertible, or was dropped).
    using Completion = std::function<void(const QVariant& result)>;

    explicit WebView(QWidget* parent = nullptr);
    ~WebView() override;

    // Starts loading `url`; a load still running after `timeoutSeconds` is
    // stopped (and finishes as failed).
    void load(const QUrl& url, double timeoutSeconds = 60.0);
    // The page last asked for; empty before the first load.
    QUrl url() const { return m_url; }
    // A page load is in progress.
    bool isLoading() const { return m_loading; }
    // The last load finished and succeeded.
    bool isLoaded() const { return m_loaded; }

    // Runs `script` in the page; `completion`, when given, gets its result.
    void evaluateJavaScript(const QString& script, Completion completion = {});

    // The view's picture as shown now (blank before the first load).
    QImage snapshot();

    // What takeSnapshot hands over: the page's picture, or a null image and why there is none.
    using SnapshotCompletion = std::function<void(const QImage& image, const QString& error)>;
    // The page's picture as shown now, handed to `completion` on the main thread once the
    // current event has been handled. A view that holds no loaded page has no picture.
    void takeSnapshot(SnapshotCompletion completion);

    // `text` as a JavaScript string literal in single quotes: backslashes,
    // quotes, line breaks and other control characters are escaped, so the
    // literal always reads back as exactly `text`.
    static QString javaScriptStringLiteral(const QString& text);

    // The engine's view, made on first use.
    QWebEngineView* engineView();

signals:
    // A load ended; `ok` is false when it failed, was stopped or timed out.
    void loadFinished(bool ok);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct PendingScript {
        QString script;
        Completion completion;
    };

    void onLoadStarted();
    void dropPending();
    void onLoadFinished(bool ok);
    void finishLoad(bool ok);
    void run(const QString& script, const Completion& completion);

    QPointer<QWebEngineView> m_view;
    QTimer m_timeout;
    QUrl m_url;
    QList<PendingScript> m_pending;
    bool m_loading = false;
    bool m_loaded = false;
    // The current load has started (a finish before that is an older load's).
    bool m_sawStart = false;
};
