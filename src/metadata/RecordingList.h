#pragma once

#include "metadata/orvoTableModel.h"

#include <QList>

// The recording list shared by both players: one entry per recording of the
// opened folder. Main thread only.
extern QList<orvoTableModel> recordingList;
