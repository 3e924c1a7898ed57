#pragma once

// The one place that knows every container parser: the parser interface does not include its
// implementations, and the parsers include only the interface.

#include "metadata/ISimpleParser.h"

// Makes a parser by type number, owned by the caller: 0 CMovieOldParser, 1 AviSimpleParser,
// 3 AmbaParser; any other type yields nullptr.
ISimpleParser* CreateParser(int type, bool firstPacketBreak);
