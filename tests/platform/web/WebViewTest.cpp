// The web view: scripts before, during and after a page load, and string
// literals that read back exactly in a real browser engine.

#include "common/WebViewTestSupport.h"

#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>

namespace {

QUrl writePage(QTemporaryDir& dir, const QByteArray& body) {
    const QString path = dir.filePath(QStringLiteral("page.html"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<!DOCTYPE html><html><head><meta charset=\"utf-8\"></head><body>" + body + "</body></html>");
    return QUrl::fromLocalFile(path);
}

} // namespace

TEST(WebView, ScriptsBeforeAnyPageAreDroppedAndScriptsDuringALoadWaitForThePage) {
    WebView view;
    view.setAttribute(Qt::WA_DontShowOnScreen);
    view.resize(200, 100);
    view.show();

    // No page yet: the script is dropped at once, without starting the engine.
    bool called = false;
    QVariant result = 1;
    view.evaluateJavaScript(QStringLiteral("1 + 1"), [&](const QVariant& r) {
        called = true;
        result = r;
    });
    EXPECT_TRUE(called);
    EXPECT_FALSE(result.isValid());

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    view.load(writePage(dir, "<script>window.calls = [];</script>"));
    EXPECT_TRUE(view.isLoading());
    // Sent while the page loads: they run on the page, in order.
    view.evaluateJavaScript(QStringLiteral("window.calls.push('a')"));
    view.evaluateJavaScript(QStringLiteral("window.calls.push('b')"));
    ASSERT_TRUE(webtest::waitForLoad(view));
    EXPECT_EQ(webtest::evaluate(view, QStringLiteral("window.calls.join(',')")).toString(), "a,b");
    EXPECT_FALSE(view.snapshot().isNull());

    // A newer load drops the scripts still waiting for the page it replaces.
    const QUrl page = view.url();
    view.load(page);
    bool dropped = false;
    view.evaluateJavaScript(QStringLiteral("window.calls.push('old')"),
                            [&](const QVariant& r) { dropped = !r.isValid(); });
    view.load(page);
    EXPECT_TRUE(dropped);
    view.evaluateJavaScript(QStringLiteral("window.calls.push('new')"));
    ASSERT_TRUE(webtest::waitForLoad(view));
    EXPECT_EQ(webtest::evaluate(view, QStringLiteral("window.calls.join(',')")).toString(), "new");
}

TEST(WebView, StringLiteralsReadBackExactly) {
    const QString texts[] = {
        QString(),
        QStringLiteral("서울특별시_종로구"),
        QStringLiteral("it's"),
        QStringLiteral("back\\slash \\' \\\\"),
        QStringLiteral("quote \" and ' both"),
        QStringLiteral("');window.injected=1;//"),
        QStringLiteral("line\nbreak\r\ttab"),
        QStringLiteral("</script><b>x</b>"),
        QString::fromUtf16(u"sep\u2028arators\u2029\u0001\u007f"),
    };
    const struct {
        QString text;
        QString literal;
    } literals[] = {
        {QStringLiteral("a'b"), QStringLiteral("'a\\'b'")},
        {QStringLiteral("a\\b"), QStringLiteral("'a\\\\b'")},
        {QStringLiteral("a\nb"), QStringLiteral("'a\\nb'")},
    };
    for (const auto& c : literals)
        EXPECT_EQ(WebView::javaScriptStringLiteral(c.text), c.literal);

    WebView view;
    view.setAttribute(Qt::WA_DontShowOnScreen);
    view.show();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(webtest::loadAndWait(view, writePage(dir, "")));
    for (const QString& text : texts) {
        const QVariant back =
            webtest::evaluate(view, QStringLiteral("(function (s) { return s; })(") +
                                        WebView::javaScriptStringLiteral(text) + QLatin1Char(')'));
        EXPECT_EQ(back.toString(), text) << text.toStdString();
    }
    EXPECT_EQ(webtest::evaluate(view, QStringLiteral("typeof window.injected")).toString(), "undefined");
}

TEST(WebView, ALoadThatNeverEndsIsStoppedAfterItsTimeout) {
    // A server that accepts and never answers.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    WebView view;
    view.setAttribute(Qt::WA_DontShowOnScreen);
    view.show();
    bool finished = false;
    bool ok = true;
    QObject::connect(&view, &WebView::loadFinished, &view, [&](bool result) {
        finished = true;
        ok = result;
    });
    view.load(QUrl(QStringLiteral("http://127.0.0.1:%1/Kavrin/gps.html").arg(silent.serverPort())), 1.0);
    bool ran = false;
    view.evaluateJavaScript(QStringLiteral("1"), [&](const QVariant&) { ran = true; });
    const QDeadlineTimer deadline(webtest::kTimeoutMs);
    while (!finished && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    EXPECT_TRUE(finished);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(view.isLoading());
    // The waiting script went to whatever the view shows now.
    const QDeadlineTimer settle(webtest::kTimeoutMs);
    while (!ran && !settle.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    EXPECT_TRUE(ran);
}
