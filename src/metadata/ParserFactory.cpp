#include "metadata/ParserFactory.h"

#include "metadata/AmbaParser.h"
#include "metadata/AviSimpleParser.h"
#include "metadata/CMovieOldParser.h"

ISimpleParser* CreateParser(int type, bool firstPacketBreak) {
    switch (type) {
    case 0:
        return new CMovieOldParser(firstPacketBreak);
    case 1:
        return new AviSimpleParser(firstPacketBreak);
    case 3:
        return new AmbaParser(firstPacketBreak);
    default:
        return nullptr;
    }
}
