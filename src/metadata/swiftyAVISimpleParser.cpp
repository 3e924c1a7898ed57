#include "metadata/swiftyAVISimpleParser.h"

#include "metadata/FirstPacketLocation.h"
#include "metadata/ParserOutput.h"
#include "metadata/VideoPacketDecoder.h"

#include <cstdio>

namespace {

std::span<const uint8_t> packetBytes(const unsigned char* buf, int size) {
    if (buf == nullptr || size <= 0)
        return {};
    return {buf, std::size_t(size)};
}

} // namespace

void swiftyAVISimpleParser::initParsedModel() {}

void swiftyAVISimpleParser::aviSimpleParserWithPacket(const AVPacket*, const unsigned char* buf, int size) {
    (void)decodeVideoPacket(packetBytes(buf, size));
}

void swiftyAVISimpleParser::disposeParsedModelWithPath(const QString&) {
    ParserOutput::puts("disposeParsedModel");
}

void swiftyAVISimpleParser::aviSimpleParserFirstPacketWithPacket(const AVPacket*, const unsigned char* buf,
                                                                 int size, const QString& filename) {
    fillFirstPacketLocation(packetBytes(buf, size), filename);
}
