#pragma once

#include "metadata/OrvoVideoPacket.h"

#include <QList>
#include <QString>

// The metadata of one recording file: its path and one packet per sample, in sample order.
struct orvoPacketModel {
    QString name;
    QList<OrvoVideoPacket> packet;

    bool operator==(const orvoPacketModel&) const = default;
};
