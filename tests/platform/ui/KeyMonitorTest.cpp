#include "platform/ui/KeyMonitor.h"

#include "common/EventLoopWait.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>

namespace {

// A window whose focused child counts the keys that reach it.
class KeyWindow : public QWidget {
public:
    KeyWindow() {
        child = new Child(this);
        child->setFocusPolicy(Qt::StrongFocus);
        resize(200, 100);
        show();
        activateWindow();
        child->setFocus();
    }

    // Presses a key the way the window system delivers it: to the window first.
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {},
               quint32 scanCode = 0) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, scanCode, 0, 0, text);
        QCoreApplication::sendEvent(windowHandle(), &event);
    }

    struct Child : QWidget {
        using QWidget::QWidget;
        int keys = 0;
        void keyPressEvent(QKeyEvent* event) override {
            ++keys;
            event->ignore(); // goes on to the parent, which must not be seen twice
        }
    };
    Child* child;
};

} // namespace

TEST(KeyMonitor, SeesEachKeyOnceAndSwallowsWhatItHandles) {
    KeyWindow window;
    std::vector<KeyEvent> seen;
    const auto token = KeyMonitor::addLocalMonitorForKeyDown([&](const KeyEvent& e) {
        seen.push_back(e);
        return e.keyCode == KeyCode::kSpace;
    });
    window.press(Qt::Key_Space, Qt::NoModifier, " ");
    window.press(Qt::Key_A, Qt::NoModifier, "a");
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].keyCode, 49);
    EXPECT_EQ(seen[0].window, &window);
    EXPECT_EQ(seen[1].keyCode, 0);
    EXPECT_EQ(window.child->keys, 1); // only "a" went on

    KeyMonitor::removeMonitor(token);
    window.press(Qt::Key_Space, Qt::NoModifier, " ");
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_EQ(window.child->keys, 2);
}

TEST(KeyMonitor, MonitorsRunInOrderUntilOneSwallows) {
    KeyWindow window;
    QStringList order;
    KeyMonitor::Token second = 0;
    const auto first = KeyMonitor::addLocalMonitorForKeyDown([&](const KeyEvent&) {
        order << "first";
        KeyMonitor::removeMonitor(second); // removed while the key is handled
        return false;
    });
    second = KeyMonitor::addLocalMonitorForKeyDown([&](const KeyEvent&) {
        order << "second";
        return true;
    });
    const auto third = KeyMonitor::addLocalMonitorForKeyDown([&](const KeyEvent&) {
        order << "third";
        return true;
    });
    window.press(Qt::Key_1, Qt::NoModifier, "1");
    EXPECT_EQ(order, (QStringList{"first", "third"}));
    KeyMonitor::removeMonitor(first);
    KeyMonitor::removeMonitor(third);
    KeyMonitor::removeMonitor(12345); // unknown: ignored
    EXPECT_EQ(KeyMonitor::monitorCount(), 0);
}

TEST(KeyMonitor, KeysGoOnToAFocusedWidgetThatTakesText) {
    const auto editable = [](QComboBox* combo) {
        combo->setEditable(true);
        return combo;
    };
    const auto readOnly = [](QLineEdit* edit) {
        edit->setReadOnly(true);
        return edit;
    };
    const std::pair<std::function<QWidget*()>, bool> cases[] = {
        // the widget, whether the monitor sees keys
        {[] { return new QLineEdit; }, false},
        {[&] { return readOnly(new QLineEdit); }, true},
        {[] { return new QPlainTextEdit; }, false},
        {[] { return new QSpinBox; }, false},
        {[&] { return editable(new QComboBox); }, false},
        {[] { return new QPushButton; }, true}};
    for (const auto& [make, monitored] : cases) {
        QWidget window;
        QWidget* target = make();
        (new QVBoxLayout(&window))->addWidget(target);
        window.show();
        window.activateWindow();
        target->setFocus();
        ASSERT_TRUE(looptest::spinUntil([&] { return target->hasFocus(); }, 5000));
        int seen = 0;
        const auto token = KeyMonitor::addLocalMonitorForKeyDown([&](const KeyEvent&) { return ++seen > 0; });
        QKeyEvent press(QEvent::KeyPress, Qt::Key_1, Qt::NoModifier, QStringLiteral("1"));
        QCoreApplication::sendEvent(window.windowHandle(), &press);
        KeyMonitor::removeMonitor(token);
        EXPECT_EQ(seen, monitored ? 1 : 0) << target->metaObject()->className();
    }
}

TEST(KeyMonitor, KeyCodesFollowTheUsLayoutPosition) {
    // From the Qt key when the event has no position.
    const std::pair<int, int> byKey[] = {
        {Qt::Key_1, 18},
        {Qt::Key_2, 19},
        {Qt::Key_3, 20},
        {Qt::Key_4, 21},
        {Qt::Key_BracketRight, 30},
        {Qt::Key_BracketLeft, 33},
        {Qt::Key_Comma, 43},
        {Qt::Key_Period, 47},
        {Qt::Key_Left, 123},
        {Qt::Key_Right, 124},
        {Qt::Key_Down, 125},
        {Qt::Key_Up, 126},
        {Qt::Key_Space, 49},
        {Qt::Key_Delete, 117},
        {Qt::Key_Return, 36},
        {Qt::Key_Exclam, 18},
    };
    for (const auto& [key, code] : byKey)
        EXPECT_EQ(KeyMonitor::virtualKeyCodeFromQtKey(key, false), code) << "Qt key " << key;
    EXPECT_EQ(KeyMonitor::virtualKeyCodeFromQtKey(Qt::Key_1, true), 83);
    EXPECT_EQ(KeyMonitor::virtualKeyCodeFromQtKey(Qt::Key_MediaPlay, false), KeyCode::kUnknown);

    // From the position (evdev code + 8) whatever the layout types: on a
    // French layout the key "1" types "&".
    QKeyEvent ampersand(QEvent::KeyPress, Qt::Key_Ampersand, Qt::NoModifier, 2 + 8, 0, 0, "&");
    EXPECT_EQ(KeyMonitor::virtualKeyCode(ampersand), 18);
    QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier, 105 + 8, 0, 0);
    EXPECT_EQ(KeyMonitor::virtualKeyCode(left), 123);
    EXPECT_EQ(KeyMonitor::virtualKeyCodeFromEvdev(111), 117);
    EXPECT_EQ(KeyMonitor::virtualKeyCodeFromEvdev(9999), KeyCode::kUnknown);
}

TEST(KeyMonitor, CtrlReturnIsCommandReturn) {
    QKeyEvent commandReturn(QEvent::KeyPress, Qt::Key_Return, Qt::ControlModifier, 0, 0, 0, "\r");
    const KeyEvent e = KeyMonitor::keyEventFrom(commandReturn);
    EXPECT_EQ(e.keyCode, KeyCode::kReturn);
    EXPECT_EQ(e.characters, "\r");
    EXPECT_EQ(e.modifierFlags, KeyModifier::kCommand);
    EXPECT_LT(e.modifierFlags & ~KeyModifier::kCommand, 1ull << 16);

    QKeyEvent shifted(QEvent::KeyPress, Qt::Key_Return, Qt::ControlModifier | Qt::ShiftModifier, 0, 0, 0);
    const KeyEvent s = KeyMonitor::keyEventFrom(shifted);
    EXPECT_EQ(s.characters, "\r");
    EXPECT_GE(s.modifierFlags & ~KeyModifier::kCommand, 1ull << 16);
}
