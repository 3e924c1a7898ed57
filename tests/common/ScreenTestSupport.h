#pragma once

// Checks shared by the screen tests: outlets and storyboard-connected actions.

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

#include <gtest/gtest.h>

#include <initializer_list>

namespace screentest {

struct Outlet {
    template <typename T>
    Outlet(const char* outletName, const QPointer<T>& outlet) : name(outletName), object(outlet.data()) {}
    const char* name;
    const QObject* object;
};

struct Action {
    const char* sender; // object name of the control
    const char* signal; // its signal, as written for SIGNAL()
    const char* slot;   // the screen's action (no arguments)
};

// Every outlet is connected, to the storyboard object of its own name.
inline void expectOutlets(std::initializer_list<Outlet> outlets) {
    for (const Outlet& outlet : outlets) {
        ASSERT_NE(outlet.object, nullptr) << outlet.name << " is not connected";
        EXPECT_EQ(outlet.object->objectName(), QString::fromLatin1(outlet.name));
    }
}

// Whether the storyboard connected `signal` of `sender` to `slot` of `receiver`:
// disconnecting answers whether the connection existed; it is made again.
inline bool isConnected(QObject* sender, const char* signal, QObject* receiver, const char* slot) {
    const QByteArray signalSignature = QByteArray("2") + signal;
    const QByteArray slotSignature = QByteArray("1") + slot + "()";
    if (!QObject::disconnect(sender, signalSignature.constData(), receiver, slotSignature.constData()))
        return false;
    QObject::connect(sender, signalSignature.constData(), receiver, slotSignature.constData());
    return true;
}

inline void expectActions(QObject* screen, std::initializer_list<Action> actions) {
    for (const Action& action : actions) {
        QObject* sender = screen->findChild<QObject*>(QString::fromLatin1(action.sender));
        ASSERT_NE(sender, nullptr) << "no control " << action.sender;
        EXPECT_TRUE(isConnected(sender, action.signal, screen, action.slot))
            << action.sender << " " << action.signal << " is not connected to " << action.slot;
    }
}

} // namespace screentest
