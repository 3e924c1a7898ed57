#pragma once

#include <QString>

struct AVPacket;

// Receiver of the metadata packets that the FFmpeg reader reads from an AVI
// data stream. It keeps no state.
class swiftyAVISimpleParser {
public:
    // Does nothing.
    void initParsedModel();
    // Decodes one packet and keeps nothing. A negative size counts as empty.
    void aviSimpleParserWithPacket(const AVPacket* packet, const unsigned char* buf, int size);
    // Prints "disposeParsedModel".
    void disposeParsedModelWithPath(const QString& path);
    // Fills the location of the recording-list entry of `filename` from its
    // first packet (fillFirstPacketLocation).
    void aviSimpleParserFirstPacketWithPacket(const AVPacket* packet, const unsigned char* buf, int size,
                                              const QString& filename);
};
