#include "metadata/RecordingList.h"

QList<orvoTableModel> recordingList;
